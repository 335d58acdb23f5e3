#include <zeldb/ZelDb.h>

#include "LogCapture.h"
#include "TestSupport.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>


using namespace zeldb;

namespace {

// Opens the database at PATH and creates every table in it.
bool createSchema(const QString &path)
{
    ZelDbDatabase database;
    database.filePath = path;
    database.CreateConnection(QStringLiteral("ZelDbConnection"));
    if (!database.Open())
        return false;
    QSqlQuery query(database.Database());
    for (const QString &statement : ZelDbDatabase::schemaStatements()) {
        if (!query.exec(statement))
            return false;
    }
    return true;
}

MapObjectsRecord mapObject(const QString &name, bool active = true)
{
    MapObjectsRecord record;
    record.setName(name);
    record.setIsActive(active);
    record.setShowOnMap(true);
    record.setIconId(QStringLiteral(" "));
    return record;
}

} // namespace

class TestZelDbDatabase : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    ZelDbDatabase m_db;

private slots:
    void initTestCase()
    {
        m_path = m_dir.filePath(QStringLiteral("store.db"));
        QVERIFY(createSchema(m_path));
        m_db.filePath = m_path;
        QVERIFY(m_db.CreateConnection(QStringLiteral("ZelDbConnection")));
    }

    void init() { QVERIFY(m_db.Open()); }

    void cleanup()
    {
        m_db.GetMapObjectsTable()->ClearTable();
        m_db.Close();
    }

    void addGetUpdateDelete()
    {
        MapObjectsTable *table = m_db.GetMapObjectsTable();
        MapObjectsRecord added = mapObject(QStringLiteral("GATEWAY"));
        QVERIFY(table->Add(added));
        QVERIFY(added.Id() > 0);
        QVERIFY(added.CreateDate().isValid());

        MapObjectsRecord read;
        QVERIFY(table->Get(added.Id(), read));
        QCOMPARE(read.Name(), QStringLiteral("GATEWAY"));
        QCOMPARE(read.IconId(), QStringLiteral(" "));
        QVERIFY(!read.UpdateDate().isValid());

        // An update writes only the fields set.
        MapObjectsRecord partial;
        partial.setId(added.Id());
        QVERIFY(partial.SetValue(MapObjectsRecord::FieldIsActive, false));
        QVERIFY(!partial.SetValue(99, true));
        QVERIFY(table->Update(partial));

        QVERIFY(table->Get(added.Id(), read));
        QCOMPARE(read.Name(), QStringLiteral("GATEWAY"));
        QVERIFY(!read.IsActive());
        QVERIFY(read.ShowOnMap());
        QCOMPARE(read.CreateDate(), added.CreateDate());
        QVERIFY(read.UpdateDate().isValid());

        MapObjectsRecord absent;
        absent.setId(added.Id() + 100);
        absent.setName(QStringLiteral("x"));
        QVERIFY(!table->Update(absent));

        QVERIFY(table->Delete(added.Id()));
        QVERIFY(!table->Delete(added.Id()));
        QVERIFY(!table->Get(added.Id(), read));
    }

    void criteriaSelectInAscendingIdOrder()
    {
        MapObjectsTable *table = m_db.GetMapObjectsTable();
        QList<unsigned> pcIds;
        for (const char *name : { "PC", "GATEWAY", "PC", "PRINTER", "PC" }) {
            MapObjectsRecord record = mapObject(QLatin1String(name));
            QVERIFY(table->Add(record));
            if (record.Name() == QLatin1String("PC"))
                pcIds << record.Id();
        }

        MapObjectsSelectionCriteria byName;
        byName.NameEqualsTo(QStringLiteral("PC"));
        QList<MapObjectsRecord> rows;
        rows << mapObject(QStringLiteral("left over")); // replaced, not appended to
        QVERIFY(table->Get(rows, byName));
        QList<unsigned> ids;
        for (const MapObjectsRecord &row : qAsConst(rows))
            ids << row.Id();
        QCOMPARE(ids, pcIds);

        // A second condition on a field replaces the first; names are case-sensitive.
        byName.NameEqualsTo(QStringLiteral("pc"));
        QVERIFY(!table->Get(rows, byName));
        QVERIFY(rows.isEmpty());
    }

    void idsAreNeverReused()
    {
        MapObjectsTable *table = m_db.GetMapObjectsTable();
        MapObjectsRecord first = mapObject(QStringLiteral("a"));
        MapObjectsRecord second = mapObject(QStringLiteral("b"));
        QVERIFY(table->Add(first) && table->Add(second));
        QVERIFY(table->Delete(second.Id()));
        MapObjectsRecord third = mapObject(QStringLiteral("c"));
        QVERIFY(table->Add(third));
        QVERIFY(third.Id() > second.Id());
    }

    // An empty text is a value: it must not come back as a missing one.
    void emptyTextIsNotNull()
    {
        MapObjectsRecord record = mapObject(QStringLiteral("PC"));
        record.setIconId(QStringLiteral(""));
        QVERIFY(m_db.GetMapObjectsTable()->Add(record));
        MapObjectsRecord read;
        QVERIFY(m_db.GetMapObjectsTable()->Get(record.Id(), read));
        QVERIFY(!read.IconId().isNull() && read.IconId().isEmpty());
    }

    void unopenableFileFailsByResult_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory in place of the file") << "directory";
        QTest::newRow("not a database") << "garbage";
        QTest::newRow("location does not exist") << "missing-directory";
    }

    void unopenableFileFailsByResult()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("bad.db"));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("bad.db")));
        } else if (kind == QLatin1String("garbage")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else {
            path = dir.filePath(QStringLiteral("no/such/dir/bad.db"));
        }

        zeltest::LogCapture capture(QStringLiteral("ZELDB"));
        ZelDbDatabase database;
        database.filePath = path;
        database.CreateConnection(QStringLiteral("ZelDbConnection"));
        QVERIFY(!database.Open());
        QCOMPARE(capture.lines().size(), 1);
        QCOMPARE(capture.lines().first().type, QtCriticalMsg);
        QVERIFY(capture.messages().first().contains(database.lastError().text()));

        MapObjectsRecord record = mapObject(QStringLiteral("x"));
        QVERIFY(!database.GetMapObjectsTable()->Add(record));
    }
};

ZEL_TEST_MAIN(TestZelDbDatabase)
#include "tst_zeldbdatabase.moc"
