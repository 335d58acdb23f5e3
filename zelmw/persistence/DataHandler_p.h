#ifndef ZELMW_PERSISTENCE_DATAHANDLER_P_H
#define ZELMW_PERSISTENCE_DATAHANDLER_P_H

#include <zelmw/persistence/ZelDbConnection.h>

#include <zeldb/ZelDb.h>

#include <QList>
#include <QMap>
#include <QVariant>
#include <QVector>
#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

namespace zelmw {

// Base of the per-table handlers. Every operation opens the database, makes exactly one
// table call and closes it again; when the open fails it answers its failure value without
// touching the table.
class DataHandler : public ZelDbConnection
{
public:
    DataHandler();
    ~DataHandler() override;

protected:
    template<typename Call, typename Result> Result withOpenDatabase(Call call, Result failure)
    {
        if (!open())
            return failure;
        Result result = call();
        close();
        return result;
    }

    template<typename Record, typename Table>
    boost::shared_ptr<Record> getById(Table *table, unsigned id)
    {
        return withOpenDatabase(
            [&] {
                Record record;
                return table->Get(id, record) ? boost::make_shared<Record>(record)
                                              : boost::shared_ptr<Record>();
            },
            boost::shared_ptr<Record>());
    }

    // Every matching row, in ascending id. A vector: a list would allocate each pointer.
    template<typename Record, typename Table, typename Criteria>
    QVector<boost::shared_ptr<Record>> getWhere(Table *table, const Criteria &criteria)
    {
        return withOpenDatabase(
            [&] {
                QVector<boost::shared_ptr<Record>> shared;
                table->ForEach(criteria, [&](const Record &row) {
                    shared.append(boost::make_shared<Record>(row));
                });
                return shared;
            },
            QVector<boost::shared_ptr<Record>>());
    }

    // Calls VISIT with every matching row, in ascending id; false only when the table could
    // not be read, so no row at all is not a failure. Ask it of a handler made for the call:
    // an error of an earlier call of the same handler would count as this one's.
    template<typename Record, typename Table, typename Criteria, typename Visit>
    bool forEachWhere(Table *table, const Criteria &criteria, Visit visit)
    {
        return withOpenDatabase(
            [&] {
                return table->ForEach(criteria, [&](const Record &row) { visit(row); })
                    || !getLastSqlError().isValid();
            },
            false);
    }

    // The first matching row, in ascending id.
    template<typename Record, typename Table, typename Criteria>
    boost::shared_ptr<Record> getFirstWhere(Table *table, const Criteria &criteria)
    {
        return withOpenDatabase(
            [&] {
                QList<Record> records;
                return table->Get(records, criteria) ? boost::make_shared<Record>(records.first())
                                                     : boost::shared_ptr<Record>();
            },
            boost::shared_ptr<Record>());
    }

    // Stores RECORD as a new row; the stored copy carries the new id.
    template<typename Record, typename Table>
    boost::shared_ptr<Record> add(Table *table, Record record)
    {
        return withOpenDatabase(
            [&] {
                return table->Add(record) ? boost::make_shared<Record>(record)
                                          : boost::shared_ptr<Record>();
            },
            boost::shared_ptr<Record>());
    }

    // Writes the fields of FIELDS (field number to value) into the row whose id is field 0;
    // without an id nothing is opened.
    template<typename Record, typename Table>
    bool updateFields(Table *table, const QMap<int, QVariant> &fields)
    {
        const int id = fields.value(0).toInt();
        if (id <= 0)
            return false;
        Record record;
        record.setId(unsigned(id));
        for (auto field = fields.cbegin(); field != fields.cend(); ++field)
            record.SetValue(field.key(), field.value());
        return withOpenDatabase([&] { return table->Update(record); }, false);
    }

    template<typename Table> bool deleteById(Table *table, unsigned id)
    {
        return withOpenDatabase([&] { return table->Delete(id); }, false);
    }
};

} // namespace zelmw

#endif // ZELMW_PERSISTENCE_DATAHANDLER_P_H
