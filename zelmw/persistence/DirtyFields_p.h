#ifndef ZELMW_PERSISTENCE_DIRTYFIELDS_P_H
#define ZELMW_PERSISTENCE_DIRTYFIELDS_P_H

#include <QMap>
#include <QVariant>
#include <zeldb/RecordBase.h>

namespace zelmw {

// The record fields an entity changed since it last saved them, by field number. An entity
// writes through set() and stores its changes with save(); saving never inserts a row.
class DirtyFields
{
public:
    // Writes VALUE into FIELD of RECORD and marks the field, but only when the value differs
    // from the record's; answers whether it did.
    bool set(zeldb::RecordBase &record, int field, const QVariant &value)
    {
        if (record.Value(field) == value)
            return false;
        record.SetValue(field, value);
        m_flags.insert(field, true);
        return true;
    }

    void setFieldDirty(int field) { m_flags.insert(field, true); }
    bool isDirty() const { return m_flags.key(true, -1) != -1; }
    void clear() { m_flags.clear(); }

    // Field 0 with the record's id and every dirty field with its current value.
    QMap<int, QVariant> changedFields(const zeldb::RecordBase &record) const
    {
        QMap<int, QVariant> fields;
        fields.insert(0, record.Id());
        for (auto flag = m_flags.cbegin(); flag != m_flags.cend(); ++flag) {
            if (flag.value())
                fields.insert(flag.key(), record.Value(flag.key()));
        }
        return fields;
    }

    // Writes the changed fields through the table's HANDLER; false at once when nothing
    // changed. The fields stay marked when the update fails, so a later save retries them.
    template<typename Handler> bool save(const zeldb::RecordBase &record)
    {
        if (!isDirty())
            return false;
        const bool saved = Handler().updateRecord(changedFields(record));
        if (saved)
            clear();
        return saved;
    }

    // Deletes the record's row through the table's HANDLER.
    template<typename Handler> bool remove(const zeldb::RecordBase &record)
    {
        const bool deleted = Handler().deleteRecord(record.Id());
        if (deleted)
            clear();
        return deleted;
    }

private:
    QMap<int, bool> m_flags;
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_DIRTYFIELDS_P_H
