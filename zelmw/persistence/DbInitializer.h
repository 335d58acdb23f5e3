#ifndef ZELMW_PERSISTENCE_DBINITIALIZER_H
#define ZELMW_PERSISTENCE_DBINITIALIZER_H

#include <zelmw/persistence/ConfigXmlProperty.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QObject>
#include <QString>
#include <boost/shared_ptr.hpp>

#include <mutex>

namespace zelmw {

/// The application's start-up step: merges the properties of "zelconfig.xml", looked for in
/// the process's current directory, into the configuration store, then emits initFinished().
/// One process-wide instance; any thread may call it, and two threads starting up together
/// merge once. A QObject, so not copyable.
class ZELMW_EXPORT DbInitializer : public QObject
{
    Q_OBJECT

public:
    /// The name of the configuration file, "zelconfig.xml".
    static const QString ZEL_CONFIG_XML;

    /// The process-wide instance, created on first use; never null.
    static boost::shared_ptr<DbInitializer> getInstance();

    /// Destroys the instance at process exit.
    ~DbInitializer() override;

    /// Merges the file unless that was done already (@p force merges again): a property is
    /// written when its key is not stored yet or when it may overwrite. An unreadable file
    /// is logged and still counts as done; a value the store refuses is skipped. initFinished()
    /// is emitted on every call, on the calling thread, before this returns.
    void initialize(bool force);
    /// Whether a merge has been done (or tried) in this process.
    bool isInitialized() const;

signals:
    /// Emitted at the end of every initialize(), on its thread, outside the instance's lock:
    /// a receiver may call initialize() again.
    void initFinished();

private:
    DbInitializer();

    void initConfigData();
    QList<ConfigXmlProperty> initConfigPropertyList();

    // Two threads starting up together merge once.
    mutable std::mutex m_mutex;
    bool m_initialized;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_DBINITIALIZER_H
