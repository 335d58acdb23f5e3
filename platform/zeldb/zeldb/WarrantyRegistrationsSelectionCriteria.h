#ifndef ZELDB_WARRANTYREGISTRATIONSSELECTIONCRITERIA_H
#define ZELDB_WARRANTYREGISTRATIONSSELECTIONCRITERIA_H

#include <zeldb/SelectionCriteria.h>
#include <zeldb/WarrantyRegistrationsRecord.h>

namespace zeldb {

/// The conditions the warranty products of WarrantyRegistrationsTable are selected by (see
/// SelectionCriteria): each setter sets one, and a row must meet them all. A plain value:
/// copies are independent; use one object on one thread at a time.
class WarrantyRegistrationsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the products registered (VALUE true) or not.
    void IsRegisteredEqualsTo(bool value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldIsRegistered, Comparison::Equal, value);
    }
    /// Selects the products of model VALUE, letter case included.
    void ProductModelNameEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductModelName, Comparison::Equal, value);
    }
    /// Selects the products of any model but VALUE, letter case included.
    void ProductModelNameNotEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductModelName, Comparison::NotEqual,
                     value);
    }
    /// Selects the products with serial number VALUE, letter case included.
    void ProductSerialNoEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductSerialNo, Comparison::Equal, value);
    }
    /// Selects the products with registration token VALUE, letter case included.
    void ProductTokenEqualsTo(const QString &value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldProductToken, Comparison::Equal, value);
    }
    /// Selects the products of the user with id VALUE.
    void WarrantyUserDataIdEqualsTo(unsigned value)
    {
        setCondition(WarrantyRegistrationsRecord::FieldWarrantyUserDataId, Comparison::Equal,
                     value);
    }
};

} // namespace zeldb

#endif // ZELDB_WARRANTYREGISTRATIONSSELECTIONCRITERIA_H
