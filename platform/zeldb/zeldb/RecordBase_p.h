#ifndef ZELDB_RECORDBASE_P_H
#define ZELDB_RECORDBASE_P_H

#include <zeldb/RecordBase.h>

namespace zeldb {

class WriteStatement;

// What a table reads and writes of a record beside its public fields.
class RecordBase::Storage
{
public:
    // VALUE of the field's type, as the table reads it.
    static void setStored(RecordBase &record, int number, const QVariant &value)
    {
        record.assign(number, value);
        record.m_set |= quint64(1) << number;
    }
    // Bit N: field N was set.
    static quint64 fieldsSet(const RecordBase &record) { return record.m_set; }
    // Field NUMBER of RECORD at POSITION of STATEMENT, as the store keeps it: what the
    // schema's toStorage() makes of Value(), without the variants on the way.
    static void bind(const RecordBase &record, int number, WriteStatement &statement, int position);
};

} // namespace zeldb

#endif // ZELDB_RECORDBASE_P_H
