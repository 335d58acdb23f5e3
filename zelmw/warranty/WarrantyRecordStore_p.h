#ifndef ZELMW_WARRANTY_WARRANTYRECORDSTORE_P_H
#define ZELMW_WARRANTY_WARRANTYRECORDSTORE_P_H

#include <QDateTime>
#include <QString>
#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <zeldb/ZelDb.h>

namespace zelmw {

// What the warranty user and device rows have in common: loading a row by id and writing
// a whole record, dropping its registration when registered data changed. Both expect the
// caller's connection to be open.
class WarrantyRecordStore
{
public:
    // The row with ID, or a new, unstored record when ID is not positive or has no row.
    template<typename Record, typename Table>
    static boost::shared_ptr<Record> load(Table *table, int id)
    {
        Record record;
        if (id > 0 && table->Get(unsigned(id), record))
            return boost::make_shared<Record>(record);
        return boost::make_shared<Record>();
    }

    // Inserts RECORD when it has no id, else rewrites its row. A stored row for which
    // CHANGED(stored, RECORD) holds had its registered data changed: RECORD is then no
    // longer registered, so that the application registers it anew.
    template<typename Record, typename Table, typename Changed>
    static bool save(Table *table, Record &record, Changed changed)
    {
        const QDateTime now = QDateTime::currentDateTime();
        if (record.Id() == 0) {
            record.setCreateDate(now);
        } else {
            Record stored;
            if (table->Get(record.Id(), stored) && changed(stored, record))
                record.setIsRegistered(false);
        }
        record.setUpdateDate(now);
        record.setExtra2(QString());
        record.setExtra3(QString());
        return table->AddOrUpdate(record);
    }
};

} // namespace zelmw

#endif // ZELMW_WARRANTY_WARRANTYRECORDSTORE_P_H
