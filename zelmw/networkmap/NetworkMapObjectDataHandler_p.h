#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTDATAHANDLER_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

// Rows of the devices of the network maps. Failures answer null, an empty list or false;
// nothing is logged.
class NetworkMapObjectDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::NetworkMapObjectsRecord>;

    NetworkMapObjectDataHandler();

    // A new active device that is no history object; null when the name or the MAC address
    // is empty.
    RecordPtr addRecord(int mapObjectId, int networkMapId, const QString &name, const QString &mac,
                        const QString &ip, bool isConnected);
    RecordPtr getRecord(int id);
    // In ascending id.
    QVector<RecordPtr> getRecordsByNetworkMapId(int networkMapId);
    // FIELDS maps field numbers to values; field 0 is the id, and without one nothing is
    // opened.
    bool updateRecord(const QMap<int, QVariant> &fields);
    bool deleteRecord(int id);

private:
    zeldb::NetworkMapObjectsTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTDATAHANDLER_P_H
