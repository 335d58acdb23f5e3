#include <zeldb/SelectionCriteria.h>

namespace zeldb {

SelectionCriteria::~SelectionCriteria() = default;

void SelectionCriteria::setCondition(int field, Comparison comparison, const QVariant &value,
                                     const QString &selection)
{
    for (Condition &condition : m_conditions) {
        if (condition.field == field && condition.comparison == comparison) {
            condition.value = value;
            condition.selection = selection;
            return;
        }
    }
    m_conditions.append({ field, comparison, value, selection });
}

} // namespace zeldb
