#ifndef ZELMW_PERSISTENCE_CONFIGPAIRSDATAHANDLER_P_H
#define ZELMW_PERSISTENCE_CONFIGPAIRSDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

// Rows of the configuration table: one per key.
class ConfigPairsDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::ConfigurationPairsRecord>;

    ConfigPairsDataHandler();

    RecordPtr getRecord(unsigned id);
    RecordPtr getRecordByKeyName(const QString &key);
    // Every row's key and value into ENTRIES (emptied first); false when the table could not
    // be read.
    bool getEntries(QMap<QString, QString> &entries);
    // Null for an empty key or a key that is already stored.
    RecordPtr addRecord(const QString &key, const QString &value);
    bool updateRecord(const QMap<int, QVariant> &fields);
    bool deleteRecord(unsigned id);

private:
    zeldb::ConfigurationPairsTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_CONFIGPAIRSDATAHANDLER_P_H
