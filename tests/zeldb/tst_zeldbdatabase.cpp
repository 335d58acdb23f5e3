#include <zeldb/StatementFaults_p.h>
#include <zeldb/ZelDb.h>

#include "LogCapture.h"
#include "TestSupport.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

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

bool add(ZelDbDatabase &database, const QString &name)
{
    MapObjectsRecord record = mapObject(name);
    return database.GetMapObjectsTable()->Add(record);
}

int rowCount(ZelDbDatabase &database)
{
    QList<MapObjectsRecord> rows;
    database.GetMapObjectsTable()->Get(rows, MapObjectsSelectionCriteria());
    return rows.size();
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
        StatementFaults::clear();
        m_db.GetMapObjectsTable()->ClearTable();
        m_db.Close();
    }

    // The dates are the table's to set. Which fields an update writes, the device and the
    // catalogue tests check through their saves.
    void datesAndIds()
    {
        MapObjectsTable *table = m_db.GetMapObjectsTable();
        MapObjectsRecord added = mapObject(QStringLiteral("GATEWAY"));
        QVERIFY(table->Add(added));
        QVERIFY(added.Id() > 0 && added.CreateDate().isValid());
        MapObjectsRecord read;
        QVERIFY(table->Get(added.Id(), read) && !read.UpdateDate().isValid());
        MapObjectsRecord partial;
        partial.setId(added.Id());
        QVERIFY(partial.SetValue(MapObjectsRecord::FieldIsActive, false) && table->Update(partial));
        QVERIFY(table->Get(added.Id(), read));
        QCOMPARE(read.CreateDate(), added.CreateDate());
        QVERIFY(read.UpdateDate().isValid());

        QVERIFY(table->Delete(added.Id()));
        QVERIFY(!table->Delete(added.Id()));
        // The id of the row deleted last is not handed out again.
        MapObjectsRecord next = mapObject(QStringLiteral("NEXT"));
        QVERIFY(table->Add(next) && next.Id() > added.Id());
    }

    // BEGIN IMMEDIATE, two inserts, COMMIT: whichever fails, nothing after it runs and nothing
    // of the transaction stays.
    void failedStatementDoomsTransaction()
    {
        for (qint64 failing = 1; failing <= 4; ++failing) {
            StatementFaults::resetCount();
            StatementFaults::failNth(failing, StatementFaults::Kind::IoError);
            QVERIFY(m_db.BeginTransaction());
            QCOMPARE(add(m_db, QStringLiteral("a")), failing > 2);
            QCOMPARE(add(m_db, QStringLiteral("b")), failing > 3);
            QVERIFY(!m_db.CommitTransaction() && StatementFaults::executed() == failing);
            QCOMPARE(rowCount(m_db), 0);
        }
    }

    // The store's own date form has a reader of its own; it must agree with the ISO parser,
    // which reads every other form.
    void storedDatesReadAsTheIsoParserReadsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("stored form") << QStringLiteral("2026-12-07T23:28:05.123");
        QTest::newRow("leap day") << QStringLiteral("2024-02-29T00:00:00.000");
        QTest::newRow("no such day") << QStringLiteral("2023-02-29T10:00:00.000");
        QTest::newRow("end of day") << QStringLiteral("2026-12-07T24:00:00.000");
        QTest::newRow("not a digit") << QStringLiteral("2026-12-0xT23:28:05.123");
        QTest::newRow("UTC") << QStringLiteral("2026-12-07T23:28:05.123Z");
        QTest::newRow("no milliseconds") << QStringLiteral("2026-12-07T23:28:05");
    }
    void storedDatesReadAsTheIsoParserReadsThem()
    {
        QFETCH(QString, text);
        const QVariant read = NetworkMapObjectDetailsRecord::schema().fromStorage(
            NetworkMapObjectDetailsRecord::FieldCreateDate, text);
        QCOMPARE(read.toDateTime(), QDateTime::fromString(text, Qt::ISODateWithMs));
    }

    void unopenableFileFailsByResult_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << "garbage";
        QTest::newRow("location does not exist") << "missing-directory";
        // An empty file would open as a fresh store: only its owner refuses it.
        QTest::newRow("another user's, writable by all") << "foreign";
    }

    void unopenableFileFailsByResult()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("bad.db"));
        if (kind == QLatin1String("garbage")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else if (kind == QLatin1String("foreign")) {
            if (geteuid() != 0)
                QSKIP("giving a file to another user needs root");
            QVERIFY(QFile(path).open(QIODevice::WriteOnly)
                    && QFile::setPermissions(path, QFileDevice::Permissions(0x6666))
                    && !chown(QFile::encodeName(path), 65534, 65534));
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
        if (kind == QLatin1String("foreign")) {
            QVERIFY(capture.messages().first().contains(path + QLatin1String(" belongs to")));
            QCOMPARE(QFileInfo(path).size(), 0);
        }
    }

    void createdOwnerOnlyThroughDanglingLink()
    {
        const QString target = m_dir.filePath(QStringLiteral("target.db"));
        ZelDbDatabase database;
        database.filePath = m_dir.filePath(QStringLiteral("link.db"));
        database.CreateConnection(QStringLiteral("ZelDbConnection"));
        QVERIFY(QFile::link(target, database.filePath) && database.Open());
        QCOMPARE(QString::number(QFile::permissions(target), 16), QStringLiteral("6600"));
    }
};

ZEL_TEST_MAIN(TestZelDbDatabase)
#include "tst_zeldbdatabase.moc"
