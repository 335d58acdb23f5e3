#ifndef ZELMW_PERSISTENCE_MAPOBJECTPARAMETERDATAHANDLER_P_H
#define ZELMW_PERSISTENCE_MAPOBJECTPARAMETERDATAHANDLER_P_H

#include <zelmw/persistence/DataHandler_p.h>

namespace zelmw {

// Rows of the parameter names of the catalogue's device types.
class MapObjectParameterDataHandler : public DataHandler
{
public:
    using RecordPtr = boost::shared_ptr<zeldb::MapObjectParametersRecord>;

    MapObjectParameterDataHandler();

    RecordPtr getRecord(unsigned id);
    // A new active parameter of the type; null for an empty name.
    RecordPtr addRecord(unsigned mapObjectId, const QString &name);
    // In ascending id; empty when there are none or the database cannot be opened.
    QVector<RecordPtr> getRecordsByMapObjectId(unsigned mapObjectId);
    bool updateRecord(const RecordPtr &record);
    bool deleteRecord(unsigned id);

private:
    zeldb::MapObjectParametersTable *m_table;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_MAPOBJECTPARAMETERDATAHANDLER_P_H
