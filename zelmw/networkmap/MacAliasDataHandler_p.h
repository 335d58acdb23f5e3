#ifndef ZELMW_NETWORKMAP_MACALIASDATAHANDLER_P_H
#define ZELMW_NETWORKMAP_MACALIASDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

#include <QHash>

namespace zelmw {

// Rows of the MAC addresses that stand for devices merged into others. Failures answer
// false; nothing is logged.
class MacAliasDataHandler : public DataHandler
{
public:
    MacAliasDataHandler();

    // A row: MAC (upper case) stands for the device DEVICEID of the map.
    bool addRecord(int networkMapId, const QString &mac, int deviceId);
    // Every alias of the map into ALIASES, MAC to device id.
    bool getRecords(int networkMapId, QHash<QString, int> &aliases);
    // Every alias for the device.
    bool deleteRecordsOf(int networkMapId, int deviceId);

private:
    zeldb::MacAliasesTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_MACALIASDATAHANDLER_P_H
