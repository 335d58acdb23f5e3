// SIGKILL at a random moment while the tool replays a scan, again and again on one store.
// After each kill the store must be sound and hold exactly the records the child had
// finished, or one more, each device with every detail its record brought. Each trial goes
// on with the records the store does not hold yet. ZEL_KILL_TRIALS asks for more trials,
// ZEL_KILL_SEED repeats a run.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// More than the trials can finish, so every kill lands in the middle of a replay.
const int RECORDS = 5000;

QJsonObject record(int n)
{
    const QString mac = QStringLiteral("02:10:00:00:%1:%2")
                            .arg(n / 256, 2, 16, QLatin1Char('0'))
                            .arg(n % 256, 2, 16, QLatin1Char('0'))
                            .toUpper();
    QJsonObject record { { "NS_DEVICE_TYPE", n == 0 ? "GATEWAY" : "PC" },
                         { "DEVICE_PARAM_LAN_MACADDRESS", mac },
                         { "DEVICE_PARAM_LAN_IPADDRESS",
                           QStringLiteral("10.1.%1.%2").arg(n / 200).arg(n % 200 + 2) },
                         { "UPNP_PARAM_SERIALNUMBER", QStringLiteral("SN%1").arg(n) } };
    if (n == 0)
        record.insert("GATEWAY_PARAM_ISROUTER", "1");
    else
        record.insert("UPNP_PARAM_MODELNAME", QStringLiteral("model %1").arg(n));
    return record;
}

QProcess *zelmap(const QString &dataDir, const QStringList &arguments)
{
    auto *process = new QProcess;
    process->setProgram(QStringLiteral(ZELMAP_BINARY));
    process->setArguments(QStringList { "--data-dir", dataDir } + arguments);
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    return process;
}

QString integrityCheck(const QString &path)
{
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
            answer = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase("check");
    return answer;
}

} // namespace

class TstKillRecovery : public QObject
{
    Q_OBJECT

private slots:
    void killedReplaysLeaveAConsistentStore()
    {
        const int trials = qEnvironmentVariableIntValue("ZEL_KILL_TRIALS") > 0
            ? qEnvironmentVariableIntValue("ZEL_KILL_TRIALS")
            : 20;
        const quint32 seed = qEnvironmentVariableIsSet("ZEL_KILL_SEED")
            ? quint32(qEnvironmentVariableIntValue("ZEL_KILL_SEED"))
            : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QTemporaryDir dir;
        const QString scan = dir.filePath("scan.jsonl"), progress = dir.filePath("progress");
        int stored = 0, consistent = 0, killed = 0;
        for (int trial = 0; trial < trials; ++trial) {
            QFile file(scan);
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int n = stored; n < RECORDS; ++n)
                file.write(QJsonDocument(record(n)).toJson(QJsonDocument::Compact) + '\n');
            file.close();
            QFile::remove(progress);

            std::unique_ptr<QProcess> child(zelmap(
                dir.path(), { "replay", scan, "--interval", "0", "--progress-file", progress }));
            QVERIFY(child->waitForStarted());
            if (!child->waitForFinished(int(random.bounded(50, 600)))) {
                child->kill(); // SIGKILL
                QVERIFY(child->waitForFinished());
                ++killed;
            }
            QFile counter(progress);
            const int finished = counter.open(QIODevice::ReadOnly) ? counter.readAll().toInt() : 0;

            QCOMPARE(integrityCheck(dir.filePath("ZelDb.db")), QStringLiteral("ok"));
            std::unique_ptr<QProcess> reader(zelmap(dir.path(), { "show", "--json" }));
            QVERIFY(reader->waitForFinished(60000));
            const QJsonDocument shown = QJsonDocument::fromJson(reader->readAllStandardOutput());
            const QJsonArray devices = shown["devices"].toArray();
            if (!devices.isEmpty())
                QCOMPARE(shown["map"]["serial"].toString(), "@MAC:02:10:00:00:00:00");
            const int now = devices.size();
            QVERIFY2(now == stored + finished || now == stored + finished + 1,
                     qPrintable(QStringLiteral("trial %1 (seed %2): %3 devices stored, %4 "
                                               "before and %5 finished")
                                    .arg(trial).arg(seed).arg(now).arg(stored).arg(finished)));
            for (int n = 0; n < now; ++n)
                QCOMPARE(devices[n]["details"].toObject(), record(n));
            stored = now;
            ++consistent;
        }
        qInfo("%d/%d trials consistent (%d killed mid-replay, %d of %d records stored, seed %u)",
              consistent, trials, killed, stored, RECORDS, seed);
    }
};

QTEST_GUILESS_MAIN(TstKillRecovery)
#include "tst_killrecovery.moc"
