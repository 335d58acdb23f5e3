#ifndef ZELTEST_RAWSTORE_H
#define ZELTEST_RAWSTORE_H

#include <zeldb/ZelDb.h>
#include <zelmw/persistence/ZelDbConnection.h>

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace zeltest {

// An open connection with raw access to SQL, for checking what the entities do not show.
class RawStore : public zelmw::ZelDbConnection
{
public:
    RawStore() { open(); }
    ~RawStore() override { close(); }

    // The first column of every row SQL selects, with BINDINGS bound in order.
    QStringList column(const QString &sql, const QVariantList &bindings = {})
    {
        QSqlQuery query(getSqlDatabase());
        query.prepare(sql);
        for (const QVariant &binding : bindings)
            query.addBindValue(binding);
        QStringList values;
        if (query.exec()) {
            while (query.next())
                values << query.value(0).toString();
        }
        return values;
    }

    // The first column of the first row; empty when there is none.
    QString value(const QString &sql, const QVariantList &bindings = {})
    {
        return column(sql, bindings).value(0);
    }

    int rowCount(const QString &table)
    {
        return value(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
    }
};

} // namespace zeltest

#endif // ZELTEST_RAWSTORE_H
