#ifndef ZELMW_CONFIG_CONFIGURATIONDATA_H
#define ZELMW_CONFIG_CONFIGURATIONDATA_H

#include <zelmw/persistence/DirtyFields.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/ConfigurationPairsRecord.h>

namespace zelmw {

// One key/value entry of the configuration store, over its row's record. Setters change
// the record only when the value differs and remember which fields changed; saveData()
// writes exactly those. Copies share the record.
class ZELMW_EXPORT ConfigurationData
{
public:
    // Throws std::invalid_argument for a null record.
    explicit ConfigurationData(const boost::shared_ptr<zeldb::ConfigurationPairsRecord> &record);

    int getId() const;
    QString getKeyName() const;
    QString getValue() const;

    void setKeyName(const QString &keyName);
    void setValue(const QString &value);

    // False at once when nothing changed since the last save.
    bool saveData();
    bool deleteData();

private:
    void setRecord(const boost::shared_ptr<zeldb::ConfigurationPairsRecord> &record);

    boost::shared_ptr<zeldb::ConfigurationPairsRecord> m_record;
    DirtyFields m_dirtyFields;
};

} // namespace zelmw

#endif // ZELMW_CONFIG_CONFIGURATIONDATA_H
