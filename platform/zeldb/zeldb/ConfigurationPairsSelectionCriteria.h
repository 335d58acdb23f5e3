#ifndef ZELDB_CONFIGURATIONPAIRSSELECTIONCRITERIA_H
#define ZELDB_CONFIGURATIONPAIRSSELECTIONCRITERIA_H

#include <zeldb/ConfigurationPairsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the configuration pairs of ConfigurationPairsTable are selected by (see
/// SelectionCriteria): each setter sets one, and a row must meet them all. A plain value:
/// copies are independent; use one object on one thread at a time.
class ConfigurationPairsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the pair whose key name is VALUE, letter case included.
    void ConfigKeyNameEqualsTo(const QString &value)
    {
        setCondition(ConfigurationPairsRecord::FieldConfigKeyName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_CONFIGURATIONPAIRSSELECTIONCRITERIA_H
