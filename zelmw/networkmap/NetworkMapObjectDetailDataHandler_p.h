#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAILDATAHANDLER_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAILDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

// Rows of the devices' details. Failures answer null, an empty list or false; nothing is
// logged.
class NetworkMapObjectDetailDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord>;

    NetworkMapObjectDetailDataHandler();

    // Null when the value is empty.
    RecordPtr addRecord(int networkMapObjectId, int mapObjectParameterId, const QString &value);
    // In ascending id.
    QVector<RecordPtr> getRecordsByNetworkMapObjectId(int networkMapObjectId);
    // The details of every device of the map, grouped by device in ascending device id,
    // each device's in ascending id.
    QVector<RecordPtr> getRecordsByNetworkMapId(int networkMapId);
    // FIELDS maps field numbers to values; field 0 is the id, and without one nothing is
    // opened.
    bool updateRecord(const QMap<int, QVariant> &fields);
    bool deleteRecord(int id);
    // Every detail row of the device; true also when it had none.
    bool deleteRecordsOf(int networkMapObjectId);

private:
    zeldb::NetworkMapObjectDetailsTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAILDATAHANDLER_P_H
