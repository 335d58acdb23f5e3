#include <zelmw/persistence/ZelDbConnection.h>

#include <QTemporaryDir>
#include <QtTest>

using namespace zelmw;

// A host chooses where the database lives before the first connection object fixes the path.
class TestDataDirectory : public QObject
{
    Q_OBJECT

private slots:
    void directoryChosenBeforeTheFirstConnection()
    {
        QTemporaryDir root;
        const QString directory = root.filePath(QStringLiteral("data/nested"));
        QVERIFY(!ZelDbConnection::setDataDirectory(QString()));
        QVERIFY(ZelDbConnection::setDataDirectory(directory));
        ZelDbConnection connection;
        QCOMPARE(connection.getDbPath(), QDir(directory).filePath(ZelDbConnection::DB_NAME));
        QVERIFY(connection.open());
        QVERIFY(QFileInfo::exists(connection.getDbPath()));
        QVERIFY(!ZelDbConnection::setDataDirectory(root.path()));
        QCOMPARE(ZelDbConnection().getDbPath(), connection.getDbPath());
    }
};

QTEST_GUILESS_MAIN(TestDataDirectory)
#include "tst_datadirectory.moc"
