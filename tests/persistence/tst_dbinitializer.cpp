#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/persistence/DbInitializer.h>

#include "LogCapture.h"
#include "ModelReset.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelmw;

namespace {

struct Property
{
    QByteArray key;
    QByteArray val;
    QByteArray overwrite; // null: no overwrite element
};

// Writes the configuration file into the current directory.
bool writeConfig(const QList<Property> &properties)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<zel><config-properties>\n";
    for (const Property &property : properties) {
        xml += "<property><key>" + property.key + "</key><val>" + property.val + "</val>";
        if (!property.overwrite.isNull())
            xml += "<overwrite>" + property.overwrite + "</overwrite>";
        xml += "</property>\n";
    }
    xml += "</config-properties></zel>\n";
    QFile file(DbInitializer::ZEL_CONFIG_XML);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(xml) == xml.size();
}

} // namespace

class TestDbInitializer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    boost::shared_ptr<DbInitializer> m_initializer = DbInitializer::getInstance();
    boost::shared_ptr<ConfigDataFactory> m_factory = ConfigDataFactory::getInstance();

    QString stored(const QString &key)
    {
        m_factory->clear();
        return m_factory->getConfigValue(key);
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_dir.path())); }

    void cleanup() { QVERIFY(zeltest::resetModel()); }

    // First: no database file exists yet.
    void firstRunStoresEverythingAndSecondRunChangesNothing()
    {
        QVERIFY(!m_initializer->isInitialized());
        QVERIFY(writeConfig({ { "a", "1", {} }, { "b", "", "false" }, { "c", "3", "true" } }));
        QSignalSpy finished(m_initializer.get(), &DbInitializer::initFinished);

        m_initializer->initialize(false);
        QVERIFY(m_initializer->isInitialized());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(stored("a"), QString("1"));
        QVERIFY(!stored("b").isNull() && stored("b").isEmpty());

        QVERIFY(writeConfig({ { "a", "changed", {} }, { "d", "new", {} } }));
        m_initializer->initialize(false);
        QCOMPARE(finished.count(), 2);
        QCOMPARE(stored("a"), QString("1"));
        QVERIFY(stored("d").isNull());
    }

    void storedKeysFollowTheirOverwriteFlag()
    {
        for (const char *key : { "a", "b", "c" })
            QVERIFY(m_factory->saveConfigData(key, "old"));
        QVERIFY(writeConfig({ { "a", "file", "false" },
                              { "b", "file", "true" },
                              { "c", "file", {} },
                              { "d", "file", "false" } }));
        m_initializer->initialize(true);
        QCOMPARE(stored("a"), QString("old"));
        QCOMPARE(stored("b"), QString("file"));
        QCOMPARE(stored("c"), QString("file"));
        QCOMPARE(stored("d"), QString("file"));
    }

    void missingFileLogsOneErrorAndCountsAsInitialized()
    {
        QVERIFY(m_factory->saveConfigData("a", "kept"));
        QVERIFY(QFile::remove(DbInitializer::ZEL_CONFIG_XML));
        zeltest::LogCapture capture("MIDDLEWARE");

        m_initializer->initialize(true);
        // The reader test pins the error text.
        QCOMPARE(capture.lines().size(), 1);
        QCOMPARE(capture.lines().first().type, QtCriticalMsg);
        QVERIFY(m_initializer->isInitialized());
        QCOMPARE(stored("a"), QString("kept"));
    }
};

ZEL_TEST_MAIN(TestDbInitializer)
#include "tst_dbinitializer.moc"
