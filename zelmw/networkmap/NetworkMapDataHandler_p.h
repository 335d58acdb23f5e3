#ifndef ZELMW_NETWORKMAP_NETWORKMAPDATAHANDLER_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

// Rows of the network maps. Failures answer null or false; nothing is logged.
class NetworkMapDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::NetworkMapsRecord>;

    NetworkMapDataHandler();

    // A new active, default, in-use history map; null when the serial or the name is empty.
    RecordPtr addRecord(const QString &serial, const QString &name);
    RecordPtr getRecord(int id);
    // The first row with that serial, or null.
    RecordPtr getRecordBySerial(const QString &serial);
    // The id of every row, ascending, into IDS (emptied first); false when the table could
    // not be read.
    bool getIds(QList<int> &ids);
    // FIELDS maps field numbers to values; field 0 is the id, and without one nothing is
    // opened.
    bool updateRecord(const QMap<int, QVariant> &fields);
    bool deleteRecord(int id);

private:
    zeldb::NetworkMapsTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPDATAHANDLER_P_H
