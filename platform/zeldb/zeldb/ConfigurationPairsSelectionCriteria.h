#ifndef ZELDB_CONFIGURATIONPAIRSSELECTIONCRITERIA_H
#define ZELDB_CONFIGURATIONPAIRSSELECTIONCRITERIA_H

#include <zeldb/ConfigurationPairsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

class ConfigurationPairsSelectionCriteria : public SelectionCriteria
{
public:
    void ConfigKeyNameEqualsTo(const QString &value)
    {
        setCondition(ConfigurationPairsRecord::FieldConfigKeyName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_CONFIGURATIONPAIRSSELECTIONCRITERIA_H
