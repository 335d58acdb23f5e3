#include <zeldb/SelectionCriteria.h>

namespace zeldb {

SelectionCriteria::~SelectionCriteria() = default;

void SelectionCriteria::setCondition(int field, Comparison comparison, const QVariant &value)
{
    for (Condition &condition : m_conditions) {
        if (condition.field == field && condition.comparison == comparison) {
            condition.value = value;
            return;
        }
    }
    m_conditions.append({ field, comparison, value });
}

} // namespace zeldb
