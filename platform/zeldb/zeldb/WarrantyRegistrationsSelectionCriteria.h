#ifndef ZELDB_WARRANTYREGISTRATIONSSELECTIONCRITERIA_H
#define ZELDB_WARRANTYREGISTRATIONSSELECTIONCRITERIA_H

#include <zeldb/SelectionCriteria.h>
#include <zeldb/WarrantyRegistrationsRecord.h>

namespace zeldb {

class WarrantyRegistrationsSelectionCriteria : public SelectionCriteria
{
public:
    void IsRegisteredEqualsTo(bool value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldIsRegistered, Comparison::Equal, value);
    }
    void ProductModelNameEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductModelName, Comparison::Equal, value);
    }
    void ProductModelNameNotEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductModelName, Comparison::NotEqual,
                     value);
    }
    void ProductSerialNoEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductSerialNo, Comparison::Equal, value);
    }
    void ProductTokenEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductToken, Comparison::Equal, value);
    }
    void WarrantyUserDataIdEqualsTo(unsigned value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldWarrantyUserDataId, Comparison::Equal,
                     value);
    }
};

} // namespace zeldb

#endif // ZELDB_WARRANTYREGISTRATIONSSELECTIONCRITERIA_H
