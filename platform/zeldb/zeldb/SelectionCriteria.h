#ifndef ZELDB_SELECTIONCRITERIA_H
#define ZELDB_SELECTIONCRITERIA_H

#include <zeldb/zeldb_export.h>

#include <QVariant>
#include <QVector>

namespace zeldb {

/// Conditions on the fields of one table; a row is selected when all of them hold.
/// Setting the same condition (field and comparison) on a field again replaces its value.
///
/// The base of each table's criteria class, whose setters name the fields a table is
/// searched by; no condition selects every row. A plain value with no locking: use one object
/// on one thread at a time. Copies are independent.
class ZELDB_EXPORT SelectionCriteria
{
public:
    /// @enum Comparison
    /// How a condition compares a field with its value.
    /// @var Comparison::Equal
    /// The field's value equals the value.
    /// @var Comparison::NotEqual
    /// The field's value differs from the value.
    /// @var Comparison::Less
    /// The field's stored value sorts before the value's (for times: earlier, when both have
    /// the same offset).
    /// @var Comparison::InSelection
    /// The field's value is one of those the SELECT of the condition yields for the value
    /// as its one parameter.
    enum class Comparison { Equal, NotEqual, Less, InSelection };

    /// One condition on one field, as the table turns it into SQL. A plain value.
    struct Condition
    {
        /// The record's field number the condition is on.
        int field;
        /// How the field is compared.
        Comparison comparison;
        /// The value compared with, bound as a parameter in the field's stored form; for
        /// InSelection, the selection's parameter, bound as it is.
        QVariant value;
        /// For InSelection, the SELECT with one parameter that yields the values; else empty.
        QString selection = QString();
    };

    /// Destroys the conditions.
    virtual ~SelectionCriteria();

    /// The conditions in the order they were first set.
    const QVector<Condition> &conditions() const { return m_conditions; }
    /// The field the rows are ordered by before their id; 0, the id itself: by id alone.
    int orderField() const { return m_orderField; }

protected:
    /// No condition: every row, in ascending id.
    SelectionCriteria() = default;
    ///@{
    /// @brief Copies the conditions and the order.
    SelectionCriteria(const SelectionCriteria &) = default;
    SelectionCriteria &operator=(const SelectionCriteria &) = default;
    ///@}

    /// Adds the condition on FIELD, or replaces the value (and SELECTION) of the one with the
    /// same field and comparison. SELECTION is the SQL of an InSelection condition.
    void setCondition(int field, Comparison comparison, const QVariant &value,
                      const QString &selection = QString());
    /// The rows in ascending FIELD, those of one value in ascending id.
    void setOrder(int field) { m_orderField = field; }

private:
    QVector<Condition> m_conditions;
    int m_orderField = 0;
};

} // namespace zeldb

#endif // ZELDB_SELECTIONCRITERIA_H
