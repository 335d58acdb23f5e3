#include "TestSupport.h"

#include <zelmw/zelmw.h>

#include <QLoggingCategory>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelmw;

// Every case is a start of the program: this one run again as a child with a mode, a data
// directory and, for the read-only cases, without root's right to write anything.
namespace {

const uid_t NOBODY = 65534;
const QString SECRET = QStringLiteral("S3CR3T-");

QString modeOf(const QString &path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
        ? QString::number(status.st_mode & 0777, 8)
        : QStringLiteral("-");
}

DiscoveryType device(const QString &kind, int n, const QString &secretKey)
{
    return { { NS_DEVICE_TYPE, kind },
             { DEVICE_PARAM_LAN_MACADDRESS,
               QStringLiteral("02:00:00:00:00:%1").arg(n, 2, 16, QLatin1Char('0')) },
             { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.%1").arg(n) },
             { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE },
             { secretKey, SECRET + QString::number(n) } };
}

// Feeds PCs FROM..TO-1 (each with a Wi-Fi key) and waits until the listener finished them.
bool feed(DiscoveryHandler &handler, int from, int to)
{
    for (int n = from; n < to; ++n)
        handler.addDiscovery(device(DEVICE_TYPE_PC, n, ZEL_WLAN_PROFILE_KEYMATERIAL));
    const qint64 target = handler.processedDiscoveryCount() + (to - from);
    return QTest::qWaitFor([&] { return handler.processedDiscoveryCount() >= target; }, 10000);
}

int runChildMode(const QString &mode, const QString &directory)
{
    if (mode == QLatin1String("unprivileged") && geteuid() == 0
        && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0))
        return 2;
    QLoggingCategory::setFilterRules(QStringLiteral("*=true"));
    ZelDbConnection::setDataDirectory(directory);
    DbInitializer::getInstance()->initialize(false);
    const boost::shared_ptr<ConfigDataFactory> config = ConfigDataFactory::getInstance();
    bool wrote
        = config->saveConfigData(ZEL_QUICK_SETUP_CPE_PASSWORD, SECRET + QString::number(getpid()));
    if (mode == QLatin1String("pipeline")) {
        DiscoveryHandler handler;
        handler.setListenerInterval(1);
        handler.addDiscovery(device(DEVICE_TYPE_GATEWAY, 1, GATEWAY_PARAM_WIRELESS_PASSWORD));
        if (!feed(handler, 2, 6))
            return 3;
        // The disk is full: no file of this process may grow.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t unlimited = limit.rlim_cur;
        limit.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool wroteWhileFull = config->saveConfigData(QStringLiteral("K"), SECRET);
        if (!feed(handler, 6, 16))
            return 4;
        limit.rlim_cur = unlimited;
        setrlimit(RLIMIT_FSIZE, &limit);
        wrote = wrote && !wroteWhileFull && feed(handler, 16, 21);
    }
    const QString db = ZelDbConnection().getDbPath();
    const QStringList modes { modeOf(directory), modeOf(db), modeOf(db + QLatin1String("-wal")),
                              modeOf(db + QLatin1String("-shm")) };
    std::printf("wrote=%d seeded=%d modes=%s\n", wrote, config->isKeyExists(DEFAULT_LEASE_TIME),
                qPrintable(modes.join(QLatin1Char(' '))));
    return 0;
}

struct Child
{
    int exitCode = -1;
    QString output;
};

Child runChild(const QString &mode, const QString &directory,
               const std::function<void()> &whileRunning = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(QStringLiteral(ZEL_SOURCE_DIR "/config"));
    process.start(QCoreApplication::applicationFilePath(),
                  { QStringLiteral("--child"), mode, directory });
    process.waitForStarted();
    if (whileRunning)
        whileRunning();
    if (!process.waitForFinished(30000))
        process.kill();
    process.waitForFinished();
    Child child;
    child.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    child.output = QString::fromLocal8Bit(process.readAll());
    return child;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs SQL on the file from this process, on a connection of its own.
QString query(const QString &path, const QString &sql)
{
    QString result;
    {
        QSqlDatabase database
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        database.setDatabaseName(path);
        QSqlQuery query(database);
        if (database.open() && query.exec(sql) && query.next())
            result = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return result;
}

} // namespace

class TestStoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { zeltest::isolateDataLocation(); }

    void startWithBrokenStore_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::addColumn<bool>("writable");
        QTest::newRow("fresh") << false << true;
        QTest::newRow("group- and world-readable") << false << true;
        QTest::newRow("not a database") << true << true;
        QTest::newRow("truncated") << true << true;
        QTest::newRow("garbled page") << true << true;
        QTest::newRow("locked") << false << true;
        QTest::newRow("read-only file") << false << false;
        QTest::newRow("read-only directory") << false << false;
    }
    void startWithBrokenStore()
    {
        QFETCH(bool, moved);
        QFETCH(bool, writable);
        const QString fault = QString::fromLatin1(QTest::currentDataTag());
        QTemporaryDir root;
        QFile::setPermissions(root.path(), QFile::permissions(root.path()) | QFile::ExeOther);
        const QString directory = root.filePath(QStringLiteral("data"));
        const QString db = directory + QLatin1String("/ZelDb.db");
        if (fault != QLatin1String("fresh"))
            QCOMPARE(runChild(QStringLiteral("start"), directory).exitCode, 0);

        QFile file(db);
        if (fault == QLatin1String("group- and world-readable"))
            QVERIFY(file.setPermissions(file.permissions() | QFile::ReadGroup | QFile::ReadOther));
        if (fault == QLatin1String("not a database"))
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(9000, 'x')) == 9000);
        if (fault == QLatin1String("truncated"))
            QVERIFY(file.resize(file.size() / 2));
        if (fault == QLatin1String("garbled page"))
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(2 * 4096)
                    && file.write(QByteArray(4096, '\xff')));
        file.close();
        if (fault.startsWith(QLatin1String("read-only"))) {
            QVERIFY(chown(QFile::encodeName(directory), NOBODY, NOBODY) == 0 || geteuid() != 0);
            QVERIFY(chown(QFile::encodeName(db), NOBODY, NOBODY) == 0 || geteuid() != 0);
            QVERIFY(fault.endsWith(QLatin1String("file"))
                        ? ::chmod(QFile::encodeName(db), 0400) == 0
                        : ::chmod(QFile::encodeName(directory), 0500) == 0);
        }
        const QByteArray before = contents(db);

        QSqlDatabase lock;
        std::function<void()> releaseLater;
        if (fault == QLatin1String("locked")) {
            lock = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
            lock.setDatabaseName(db);
            QSqlQuery locking(lock);
            QVERIFY(lock.open() && locking.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"))
                    && locking.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            // Longer than the start-up check waits, shorter than a statement does.
            releaseLater = [&] {
                QThread::msleep(2000);
                lock.close();
            };
        }
        const Child child
            = runChild(fault.startsWith(QLatin1String("read-only")) ? QStringLiteral("unprivileged")
                                                                    : QStringLiteral("start"),
                       directory, releaseLater);
        lock = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("lock"));
        ::chmod(QFile::encodeName(directory), 0700);
        QCOMPARE(child.exitCode, 0);

        const QStringList aside
            = QDir(directory).entryList({ QStringLiteral("ZelDb.db.corrupt-*[0-9]") });
        QCOMPARE(aside.size(), int(moved));
        QVERIFY2(child.output.contains(QLatin1String("wrote=1 seeded=1")) == writable,
                 qPrintable(child.output));
        if (moved) {
            QCOMPARE(contents(QDir(directory).filePath(aside.first())), before);
            QCOMPARE(modeOf(QDir(directory).filePath(aside.first())), QStringLiteral("600"));
            QCOMPARE(child.output.count(QStringLiteral("moved it to ")), 1);
            QVERIFY(child.output.contains(QDir(directory).filePath(aside.first())));
        } else if (!writable) {
            QCOMPARE(contents(db), before);
        }
        if (writable)
            QVERIFY2(child.output.contains(QLatin1String("modes=700 600 600 600")),
                     qPrintable(child.output));
        QVERIFY(!child.output.contains(SECRET));
    }

    // Under every logging rule, with secrets in records and in the configuration, the disk
    // fills while the listener works and has room again later.
    void diskFullWhileDiscovering()
    {
        QTemporaryDir root;
        const QString directory = root.filePath(QStringLiteral("data"));
        QElapsedTimer clock;
        clock.start();
        const Child child = runChild(QStringLiteral("pipeline"), directory);
        qInfo("pipeline with a full disk took %lld ms", clock.elapsed());
        QVERIFY2(child.exitCode == 0, qPrintable(child.output));
        QVERIFY2(child.output.contains(QLatin1String("wrote=1")), qPrintable(child.output));
        QVERIFY(child.output.contains(QLatin1String("NetworkMapObject of type:")));
        QVERIFY(!child.output.contains(SECRET));
        QCOMPARE(
            child.output.count(QRegularExpression(QStringLiteral("ZelDbDatabase - .* failed"))), 1);
        const QString db = directory + QLatin1String("/ZelDb.db");
        QCOMPARE(query(db, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        QCOMPARE(query(db,
                       QStringLiteral("SELECT group_concat(substr(MacAddress, 16), ' ') FROM "
                                      "(SELECT MacAddress FROM NetworkMapObjects ORDER BY Id)")),
                 QStringLiteral("01 02 03 04 05 10 11 12 13 14"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc > 3 && qstrcmp(argv[1], "--child") == 0)
        return runChildMode(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestStoreFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storefaults.moc"
