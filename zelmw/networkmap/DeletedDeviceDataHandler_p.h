#ifndef ZELMW_NETWORKMAP_DELETEDDEVICEDATAHANDLER_P_H
#define ZELMW_NETWORKMAP_DELETEDDEVICEDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

#include <QDateTime>

namespace zelmw {

// Rows of what users gave devices that left their maps. Failures answer null or false;
// nothing is logged.
class DeletedDeviceDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::DeletedDevicesRecord>;

    DeletedDeviceDataHandler();

    // A row for MAC (upper case) on the map, the details as a JSON object, left at LEFTAT.
    bool addRecord(int networkMapId, const QString &mac, const QString &details,
                   const QDateTime &leftAt);
    // The newest row for MAC on the map; null when there is none.
    RecordPtr getRecord(int networkMapId, const QString &mac);
    // Whether the map has any row.
    bool hasRecords(int networkMapId);
    bool deleteRecord(int id);
    // Every row for MAC on the map.
    bool deleteRecords(int networkMapId, const QString &mac);
    // The rows of the map beyond its KEEP newest, and those of every map left before CUTOFF.
    bool deleteBeyond(int networkMapId, int keep, const QDateTime &cutoff);

private:
    zeldb::DeletedDevicesTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DELETEDDEVICEDATAHANDLER_P_H
