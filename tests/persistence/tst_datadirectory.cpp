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
        QVERIFY(connection.open());
        QVERIFY(QFileInfo::exists(QDir(directory).filePath(ZelDbConnection::DB_NAME)));
        QVERIFY(!ZelDbConnection::setDataDirectory(root.path()));
    }
};

QTEST_GUILESS_MAIN(TestDataDirectory)
#include "tst_datadirectory.moc"
