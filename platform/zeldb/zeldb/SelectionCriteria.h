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
    // InSelection: the field's value is one of those the SELECT of the condition yields for
    // the value as its one parameter.
    enum class Comparison { Equal, NotEqual, InSelection };

    struct Condition
    {
        int field;
        Comparison comparison;
        QVariant value;
        QString selection = QString();
    };

    virtual ~SelectionCriteria();

    const QVector<Condition> &conditions() const { return m_conditions; }
    // The field the rows are ordered by before their id; 0, the id itself: by id alone.
    int orderField() const { return m_orderField; }

protected:
    SelectionCriteria() = default;
    SelectionCriteria(const SelectionCriteria &) = default;
    SelectionCriteria &operator=(const SelectionCriteria &) = default;

    void setCondition(int field, Comparison comparison, const QVariant &value,
                      const QString &selection = QString());
    // The rows in ascending FIELD, those of one value in ascending id.
    void setOrder(int field) { m_orderField = field; }

private:
    QVector<Condition> m_conditions;
    int m_orderField = 0;
};

} // namespace zeldb

#endif // ZELDB_SELECTIONCRITERIA_H
