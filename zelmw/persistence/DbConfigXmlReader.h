#ifndef ZELMW_DBCONFIGXMLREADER_H
#define ZELMW_DBCONFIGXMLREADER_H

#include <zelmw/persistence/ConfigXmlProperty.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QObject>
#include <QString>

#include <boost/shared_ptr.hpp>

namespace zelmw {

/// Reads the configuration file: checks it against the schema compiled into the library and
/// returns its properties. The file is untrusted input; nothing it names is ever fetched, and
/// a file over 1 MiB, with a DOCTYPE or naming a schema of its own is refused. Takes no lock:
/// use one reader from one thread at a time; readers on several threads may parse at once.
/// A QObject, so not copyable.
class ZELMW_EXPORT DbConfigXmlReader : public QObject
{
    Q_OBJECT

public:
    /// A reader of @p fileName (a path, relative to the current directory unless absolute);
    /// nothing is read until parseConfigProperties().
    explicit DbConfigXmlReader(const QString &fileName, QObject *parent = nullptr);
    /// Destroys the reader.
    ~DbConfigXmlReader() override;

    /// The file the next parseConfigProperties() reads; the last error stays.
    void setFileName(const QString &fileName);

    /// Appends the file's properties to @p properties in document order, skipping property
    /// elements without a key or a value and those with an empty key; on failure appends
    /// nothing and returns false. An unreadable, oversized or invalid file sets getLastError();
    /// a valid one whose root is not a "zel" element holding "config-properties" fails
    /// without setting it.
    bool parseConfigProperties(QList<ConfigXmlProperty> &properties);

    /// The text of the last failure that set one (see parseConfigProperties()), empty before
    /// any; a later success does not clear it.
    QString getLastError() const;

private:
    class Implementation;
    boost::shared_ptr<Implementation> m_impl;
};

} // namespace zelmw

#endif // ZELMW_DBCONFIGXMLREADER_H
