#ifndef ZELDB_NETWORKMAPSSELECTIONCRITERIA_H
#define ZELDB_NETWORKMAPSSELECTIONCRITERIA_H

#include <zeldb/NetworkMapsRecord.h>
#include <zeldb/SelectionCriteria.h>

namespace zeldb {

/// The conditions the maps of NetworkMapsTable are selected by (see SelectionCriteria): each
/// setter sets one, and a row must meet them all. A plain value: copies are independent; use
/// one object on one thread at a time.
class NetworkMapsSelectionCriteria : public SelectionCriteria
{
public:
    /// Selects the map whose serial is VALUE, letter case included.
    void SerialEqualsTo(const QString &value)
    {
        setCondition(NetworkMapsRecord::FieldSerial, Comparison::Equal, value);
    }
    /// Selects the maps named VALUE, letter case included.
    void NameEqualsTo(const QString &value)
    {
        setCondition(NetworkMapsRecord::FieldName, Comparison::Equal, value);
    }
};

} // namespace zeldb

#endif // ZELDB_NETWORKMAPSSELECTIONCRITERIA_H
