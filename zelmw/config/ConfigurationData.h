#ifndef ZELMW_CONFIG_CONFIGURATIONDATA_H
#define ZELMW_CONFIG_CONFIGURATIONDATA_H

#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <zeldb/ConfigurationPairsRecord.h>

namespace zelmw {

// One key/value entry of the configuration store, over its row's record. Setters change
// the record only when the value differs and remember which fields changed; saveData()
// writes exactly those. A copy shares the record (and so the values) but keeps its own list
// of changed fields: it saves only the changes made through it, plus those made through the
// original before the copy.
class ZELMW_EXPORT ConfigurationData
{
public:
    // Throws std::invalid_argument for a null record.
    explicit ConfigurationData(const boost::shared_ptr<zeldb::ConfigurationPairsRecord> &record);
    ConfigurationData(const ConfigurationData &other);
    ConfigurationData &operator=(const ConfigurationData &other);
    ~ConfigurationData();

    int getId() const;
    QString getKeyName() const;
    QString getValue() const;

    void setKeyName(const QString &keyName);
    void setValue(const QString &value);

    // False at once when nothing changed since the last save.
    bool saveData();
    bool deleteData();

private:
    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_CONFIG_CONFIGURATIONDATA_H
