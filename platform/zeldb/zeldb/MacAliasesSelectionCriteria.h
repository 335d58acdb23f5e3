#ifndef ZELDB_MACALIASESSELECTIONCRITERIA_H
#define ZELDB_MACALIASESSELECTIONCRITERIA_H

#include <zeldb/MacAliasesRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the rows of MacAliasesTable are selected by (see SelectionCriteria): each
/// setter sets one, and a row must meet them all. A plain value: copies are independent; use
/// one object on one thread at a time.
class MacAliasesSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the aliases of the map with id VALUE.
    void NetworkMapIdEqualsTo(unsigned value)
    {
        setCondition(MacAliasesRecord::FieldNetworkMapId, Comparison::Equal, value);
    }
    /// Selects the aliases for the device with id VALUE.
    void NetworkMapObjectIdEqualsTo(unsigned value)
    {
        setCondition(MacAliasesRecord::FieldNetworkMapObjectId, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_MACALIASESSELECTIONCRITERIA_H
