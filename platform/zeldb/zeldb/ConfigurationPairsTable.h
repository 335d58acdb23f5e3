#ifndef ZELDB_CONFIGURATIONPAIRSTABLE_H
#define ZELDB_CONFIGURATIONPAIRSTABLE_H

#include <zeldb/ConfigurationPairsRecord.h>
#include <zeldb/ConfigurationPairsSelectionCriteria.h>
#include <zeldb/TableBase.h>

namespace zeldb {

using ConfigurationPairsTable
    = Table<ConfigurationPairsRecord, ConfigurationPairsSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_CONFIGURATIONPAIRSTABLE_H
