#ifndef ZELMW_CONFIG_CONFIGURATIONDATA_H
#define ZELMW_CONFIG_CONFIGURATIONDATA_H

#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <zeldb/ConfigurationPairsRecord.h>

namespace zelmw {

/// One key/value entry of the configuration store, over its row's record. Setters change
/// the record only when the value differs and remember which fields changed; saveData()
/// writes exactly those. A copy shares the record (and so the values) but keeps its own list
/// of changed fields: it saves only the changes made through it, plus those made through the
/// original before the copy. Takes no lock of its own: an entry shared through
/// ConfigDataFactory is changed through the factory, or by one thread at a time.
class ZELMW_EXPORT ConfigurationData
{
public:
    /// An entry over @p record; throws std::invalid_argument for a null record.
    explicit ConfigurationData(const boost::shared_ptr<zeldb::ConfigurationPairsRecord> &record);
    ///@{
    /// The copy shares the record and starts with the original's list of changed fields.
    ConfigurationData(const ConfigurationData &other);
    ConfigurationData &operator=(const ConfigurationData &other);
    ///@}
    /// Destroys this entry; the record lives on in its copies.
    ~ConfigurationData();

    /// The row's id; 0 for a record that was never stored.
    int getId() const;
    /// The configuration key.
    QString getKeyName() const;
    /// The stored (or since set) value.
    QString getValue() const;

    ///@{
    /// Changes the key or the value in memory, marking the field changed when it differs;
    /// saveData() stores it.
    void setKeyName(const QString &keyName);
    void setValue(const QString &value);
    ///@}

    /// Writes the changed fields to the row, as one unit of work; false at once when nothing
    /// changed since the last save, and false when the update fails (the fields stay marked,
    /// so a later save retries them).
    bool saveData();
    /// Deletes the row, as one unit of work; false when there is no such row or the delete
    /// fails. The entry stays in ConfigDataFactory's cache: delete through the factory.
    bool deleteData();

private:
    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_CONFIG_CONFIGURATIONDATA_H
