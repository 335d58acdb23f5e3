#ifndef ZELMW_PERSISTENCE_MAPOBJECTDATAHANDLER_P_H
#define ZELMW_PERSISTENCE_MAPOBJECTDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

// Rows of the device-type catalogue.
class MapObjectDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::MapObjectsRecord>;

    RecordPtr getRecord(unsigned id);
    RecordPtr getRecordByName(const QString &name);
    // A new active type shown on the map; null for an empty name.
    RecordPtr addRecord(const QString &name);
    bool updateRecord(const QMap<int, QVariant> &fields);
    bool deleteRecord(unsigned id);
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_MAPOBJECTDATAHANDLER_P_H
