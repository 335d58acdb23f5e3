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

protected:
    SelectionCriteria() = default;
    SelectionCriteria(const SelectionCriteria &) = default;
    SelectionCriteria &operator=(const SelectionCriteria &) = default;

    void setCondition(int field, Comparison comparison, const QVariant &value,
                      const QString &selection = QString());

private:
    QVector<Condition> m_conditions;
};

} // namespace zeldb

#endif // ZELDB_SELECTIONCRITERIA_H
