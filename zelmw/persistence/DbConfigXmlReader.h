#ifndef ZELMW_DBCONFIGXMLREADER_H
#define ZELMW_DBCONFIGXMLREADER_H

#include <zelmw/persistence/ConfigXmlProperty.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QObject>
#include <QString>

#include <boost/shared_ptr.hpp>

namespace zelmw {

// Reads the configuration file: checks it against the schema compiled into the library and
// returns its properties. The file is untrusted input; nothing it names is ever fetched.
class ZELMW_EXPORT DbConfigXmlReader : public QObject
{
    Q_OBJECT

public:
    explicit DbConfigXmlReader(const QString &fileName, QObject *parent = nullptr);
    ~DbConfigXmlReader() override;

    void setFileName(const QString &fileName);

    // Appends the file's properties in document order; on failure appends nothing and
    // returns false.
    bool parseConfigProperties(QList<ConfigXmlProperty> &properties);

    // The text of the last failure; a later success does not clear it.
    QString getLastError() const;

private:
    class Implementation;
    boost::shared_ptr<Implementation> m_impl;
};

} // namespace zelmw

#endif // ZELMW_DBCONFIGXMLREADER_H
