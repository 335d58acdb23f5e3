#ifndef ZELDB_NETWORKMAPSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

class NetworkMapsSelectionCriteria : public SelectionCriteria
{
public:
    void SerialEqualsTo(const QString &value)
    {
        setCondition(NetworkMapsRecord::FieldSerial, Comparison::Equal, value);
    }
    void NameEqualsTo(const QString &value)
    {
        setCondition(NetworkMapsRecord::FieldName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPSSELECTIONCRITERIA_H
