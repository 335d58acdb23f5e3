#include "DiscoveryRecords.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <zelmw/zelmw.h>

#include <QLoggingCategory>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

using namespace zelmw;
using L = QLatin1String;

// Every case is a start of the program: this one run again as a child with the fault of the
// row ("start" for the start that makes the store), a data directory and, for the read-only
// cases, without root's right to write anything.
namespace {

const uid_t NOBODY = 65534;
const QString SECRET = QStringLiteral("S3CR3T-");

// Qt's permission flags in hex: 6600 is read and write for the owner only.
QString modeOf(const QString &path)
{
    return QString::number(QFile::permissions(path), 16);
}

int runChildMode(const QString &fault, const QString &directory)
{
    if (fault.startsWith(L("read-only")) && geteuid() == 0 && (setgid(NOBODY) || setuid(NOBODY)))
        return 2;
    QLoggingCategory::setFilterRules(QStringLiteral("*=true"));
    ZelDbConnection::setDataDirectory(directory);
    DbInitializer::getInstance()->initialize(false);
    const boost::shared_ptr<ConfigDataFactory> config = ConfigDataFactory::getInstance();
    bool wrote
        = config->saveConfigData(ZEL_QUICK_SETUP_CPE_PASSWORD, SECRET + QString::number(getpid()));
    if (fault == L("written by another process")) {
        DiscoveryHandler().setListenerInterval(1);
        wrote = wrote
            || !zeltest::apply({ zeltest::router({ { GATEWAY_PARAM_WIRELESS_PASSWORD, SECRET } }),
                                 zeltest::device(DEVICE_TYPE_PC, 2) });
    }
    // The integrity check's verdict and the last byte of each stored device's MAC address.
    const QString store = zeltest::RawStore().value(QStringLiteral(
        "SELECT (SELECT * FROM pragma_integrity_check) || ' ' || "
        "ifnull(group_concat(substr(MacAddress, 16), ' '), '') FROM NetworkMapObjects"));
    std::printf("wrote=%d seeded=%d modes=%s", wrote, config->isKeyExists(DEFAULT_LEASE_TIME),
                qPrintable(modeOf(directory)));
    for (const char *suffix : { "", "-wal", "-shm" })
        std::printf(" %s", qPrintable(modeOf(ZelDbConnection().getDbPath() + L(suffix))));
    std::printf(" store=%s\n", qPrintable(store));
    return 0;
}

// The child's output, ending in its exit code (-1 when it crashed or hung).
QString runChild(
    const QString &fault, const QString &directory,
    const std::function<void()> &whileRunning = [] {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(QStringLiteral(ZEL_SOURCE_DIR "/config"));
    process.start(QCoreApplication::applicationFilePath(),
                  { QStringLiteral("--child"), fault, directory });
    process.waitForStarted();
    whileRunning();
    if (!process.waitForFinished(30000))
        process.kill();
    process.waitForFinished();
    const bool exited = process.exitStatus() == QProcess::NormalExit;
    return QString::fromLocal8Bit(process.readAll())
        + QStringLiteral("exit=%1").arg(exited ? process.exitCode() : -1);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { zeltest::isolateDataLocation(); }

    // Each row is one start, on a store an earlier start made and that was then broken. All
    // of it runs under every logging rule, with secrets in records and configuration values.
    void startAndWrite_data()
    {
        const QString works = QStringLiteral("wrote=1 seeded=1 modes=7700 6600 6600 6600 store=ok");
        const QString refused = QStringLiteral("wrote=0");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("failureLines");
        QTest::newRow("group- and world-readable") << false << works << 0;
        QTest::newRow("not a database") << true << works << 0;
        QTest::newRow("garbled page") << true << works << 0;
        QTest::newRow("locked") << false << works << 0;
        QTest::newRow("read-only file") << false << refused << 1;
        QTest::newRow("read-only directory") << false << refused << 1;
        // One line, naming the holder; what fails after it in the same record says nothing.
        QTest::newRow("written by another process")
            << false << QStringLiteral("wrote=0 seeded=1 modes=7700 6600 6600 6600 store=ok \n")
            << 1;
    }
    void startAndWrite()
    {
        QFETCH(bool, moved);
        QFETCH(QString, expected);
        QFETCH(int, failureLines);
        const QString fault = QString::fromLatin1(QTest::currentDataTag());
        const bool readOnly = fault.startsWith(L("read-only"));
        QTemporaryDir root;
        QFile::setPermissions(root.path(), QFile::permissions(root.path()) | QFile::ExeOther);
        const QString directory = root.filePath(QStringLiteral("data"));
        const QString db = directory + L("/ZelDb.db");
        QVERIFY(runChild(QStringLiteral("start"), directory).endsWith(L("exit=0")));
        QFile file(db);
        if (fault == L("group- and world-readable"))
            QVERIFY(file.setPermissions(file.permissions() | QFile::ReadGroup | QFile::ReadOther));
        if (fault == L("not a database"))
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(9000, 'x')) == 9000);
        if (fault == L("garbled page"))
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(8192)
                    && file.write(QByteArray(4096, '\xff')));
        file.close();
        // Root writes whatever the mode says: the child gives up root for these.
        if (readOnly)
            QVERIFY(
                (geteuid() != 0
                 || (!chown(QFile::encodeName(directory), NOBODY, NOBODY)
                     && !chown(QFile::encodeName(db), NOBODY, NOBODY)))
                && (fault.endsWith(L("file"))
                        ? QFile::setPermissions(db, QFile::ReadOwner)
                        : QFile::setPermissions(directory, QFile::ReadOwner | QFile::ExeOwner)));
        // This process holds the store, as its first write would, while the child starts.
        zeldb::ZelDbDatabase writer;
        writer.filePath = db;
        QVERIFY(fault != L("written by another process") || writer.ClaimWriter());
        const QByteArray before = contents(db);
        QString output;
        {
            QSqlDatabase lock
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
            lock.setDatabaseName(db);
            if (fault == L("locked"))
                QVERIFY(lock.open()
                        && QSqlQuery(lock).exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"))
                        && QSqlQuery(lock).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            // Held longer than the start-up check waits, shorter than a statement does.
            output = runChild(fault, directory, [&] {
                QThread::msleep(lock.isOpen() ? 2000 : 0);
                lock.close();
            });
        }
        QSqlDatabase::removeDatabase(QStringLiteral("lock"));
        QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(output.endsWith(L("exit=0")) && output.contains(expected), qPrintable(output));
        QVERIFY(!output.contains(SECRET));
        QCOMPARE(
            output.count(QStringLiteral("written by process %1 (tst_storefaults)").arg(getpid())),
            int(fault == L("written by another process")));
        QCOMPARE(output.count(QRegularExpression(QStringLiteral("ZelDbDatabase - .* failed"))),
                 failureLines);
        const QStringList aside
            = QDir(directory).entryList({ QStringLiteral("ZelDb.db.corrupt-*[0-9]") });
        QCOMPARE(aside.size(), int(moved));
        if (moved) {
            const QString path = QDir(directory).filePath(aside.first());
            QCOMPARE(contents(path), before);
            QCOMPARE(modeOf(path), QStringLiteral("6600"));
            QCOMPARE(output.count(L("moved it to ") + path), 1);
        } else if (readOnly) {
            QCOMPARE(contents(db), before);
        }
    }

    // A host chooses where the database lives before the first connection object of the
    // process fixes the path; the starts above choose theirs in the child.
    void directoryChosenBeforeTheFirstConnection()
    {
        QTemporaryDir root;
        const QString directory = root.filePath(QStringLiteral("data/nested"));
        QVERIFY(!ZelDbConnection::setDataDirectory(QString()));
        QVERIFY(ZelDbConnection::setDataDirectory(directory));
        ZelDbConnection connection;
        QVERIFY(connection.open());
        QVERIFY(QFileInfo::exists(QDir(directory).filePath(ZelDbConnection::DB_NAME)));
        QVERIFY(!ZelDbConnection::setDataDirectory(root.path()));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    zeltest::failOnSqlMisuse();
    if (argc > 3 && qstrcmp(argv[1], "--child") == 0)
        return runChildMode(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestStoreFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storefaults.moc"
