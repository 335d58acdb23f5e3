#ifndef ZELDB_WARRANTYUSERSDATASELECTIONCRITERIA_H
#define ZELDB_WARRANTYUSERSDATASELECTIONCRITERIA_H

#include <zeldb/SelectionCriteria.h>
#include <zeldb/WarrantyUsersDataRecord.h>

namespace zeldb {

class WarrantyUsersDataSelectionCriteria : public SelectionCriteria
{
public:
    void UserTokenEqualsTo(const QString &value)
    {
        setCondition(WarrantyUsersDataRecord::FieldUserToken, Comparison::Equal, value);
    }
    void IsRegisteredEqualsTo(bool value)
    {
        setCondition(WarrantyUsersDataRecord::FieldIsRegistered, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATASELECTIONCRITERIA_H
