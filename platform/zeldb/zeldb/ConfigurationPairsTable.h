#ifndef ZELDB_CONFIGURATIONPAIRSTABLE_H
#define ZELDB_CONFIGURATIONPAIRSTABLE_H

#include <zeldb/ConfigurationPairsRecord.h>
#include <zeldb/ConfigurationPairsSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The ConfigurationPairs table of ConfigurationPairsRecord rows, with Get, ForEach, Add,
/// Update and Delete. ZelDbDatabase::GetConfigurationPairsTable() gives it out; threads,
/// failures and copies as for TableBase.
class ZELDB_EXPORT ConfigurationPairsTable
    : public Table<ConfigurationPairsRecord, ConfigurationPairsSelectionCriteria>
{
public:
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_CONFIGURATIONPAIRSTABLE_H
