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

// The application's start-up step: merges the properties of "zelconfig.xml", looked for in
// the process's current directory, into the configuration store, then emits initFinished().
class ZELMW_EXPORT DbInitializer : public QObject
{
    Q_OBJECT

public:
    static const QString ZEL_CONFIG_XML;

    static boost::shared_ptr<DbInitializer> getInstance();

    ~DbInitializer() override;

    // Merges the file unless that was done already (force merges again). An unreadable file
    // is logged and still counts as done. initFinished() is emitted on every call, on the
    // calling thread, before this returns.
    void initialize(bool force);
    bool isInitialized() const;

signals:
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
