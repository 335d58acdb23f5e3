#ifndef ZELDB_SELECTIONCRITERIA_H
#define ZELDB_SELECTIONCRITERIA_H

#include <zeldb/zeldb_export.h>

#include <QVariant>
#include <QVector>

namespace zeldb {

// Conditions on the fields of one table; a row is selected when all of them hold.
// Setting the same condition on a field again replaces its value.
class ZELDB_EXPORT SelectionCriteria
{
public:
    enum class Comparison { Equal, NotEqual };

    struct Condition
    {
        int field;
        Comparison comparison;
        QVariant value;
    };

    virtual ~SelectionCriteria();

    const QVector<Condition> &conditions() const { return m_conditions; }

protected:
    SelectionCriteria() = default;
    SelectionCriteria(const SelectionCriteria &) = default;
    SelectionCriteria &operator=(const SelectionCriteria &) = default;

    void setCondition(int field, Comparison comparison, const QVariant &value);

private:
    QVector<Condition> m_conditions;
};

} // namespace zeldb

#endif // ZELDB_SELECTIONCRITERIA_H
