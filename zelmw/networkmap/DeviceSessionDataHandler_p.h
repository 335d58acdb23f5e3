#ifndef ZELMW_NETWORKMAP_DEVICESESSIONDATAHANDLER_P_H
#define ZELMW_NETWORKMAP_DEVICESESSIONDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

#include <QDateTime>

namespace zelmw {

// Rows of the devices' connected sessions, by map and upper-case MAC. Failures answer an
// empty list or false; nothing is logged.
class DeviceSessionDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::DeviceSessionsRecord>;

    DeviceSessionDataHandler();

    // An open session from FROM.
    bool addRecord(int networkMapId, const QString &mac, const QDateTime &from);
    // The sessions of MAC on the map, oldest first; only the open ones with OPENONLY.
    QVector<RecordPtr> getRecords(int networkMapId, const QString &mac, bool openOnly = false);
    // Ends the open session RECORD at TO.
    bool closeRecord(const zeldb::DeviceSessionsRecord &record, const QDateTime &to);
    // The sessions of MAC beyond its KEEP newest, and every session that ended before CUTOFF.
    bool deleteBeyond(const QString &mac, int keep, const QDateTime &cutoff);

private:
    zeldb::DeviceSessionsTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_DEVICESESSIONDATAHANDLER_P_H
