#ifndef ZELDB_RECORDBASE_P_H
#define ZELDB_RECORDBASE_P_H

#include <zeldb/RecordBase.h>

#include <utility>

namespace zeldb {

// What a table reads and writes of a record beside its public fields.
class RecordBase::Storage
{
public:
    // VALUE already of the field's type, as the table reads it: no second conversion.
    static void setStored(RecordBase &record, int number, QVariant &&value)
    {
        record.m_values[number] = std::move(value);
        record.m_set |= quint64(1) << number;
    }
    // Bit N: field N was set.
    static quint64 fieldsSet(const RecordBase &record) { return record.m_set; }
};

} // namespace zeldb

#endif // ZELDB_RECORDBASE_P_H
