#ifndef ZELDB_WARRANTYUSERSDATASELECTIONCRITERIA_H
#define ZELDB_WARRANTYUSERSDATASELECTIONCRITERIA_H

#include <zeldb/SelectionCriteria.h>
#include <zeldb/WarrantyUsersDataRecord.h>

namespace zeldb {

/// The conditions the warranty users of WarrantyUsersDataTable are selected by (see
/// SelectionCriteria): each setter sets one, and a row must meet them all. A plain value:
/// copies are independent; use one object on one thread at a time.
class WarrantyUsersDataSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the users with registration token VALUE, letter case included.
    void UserTokenEqualsTo(const QString &value)
    {
        setCondition(WarrantyUsersDataRecord::FieldUserToken, Comparison::Equal, value);
    }
    /// Selects the users registered (VALUE true) or not.
    void IsRegisteredEqualsTo(bool value)
    {
        setCondition(WarrantyUsersDataRecord::FieldIsRegistered, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATASELECTIONCRITERIA_H
