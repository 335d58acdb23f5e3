#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/persistence/ConfigPairsDataHandler_p.h>
#include <zelmw/persistence/DbInitializer.h>

#include "LogCapture.h"
#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace zelmw;

namespace {

// The values stored under KEY, read behind the factory's back.
QStringList storedValues(const QString &key)
{
    return zeltest::RawStore().column(
        QStringLiteral("SELECT ConfigKeyValue FROM ConfigurationPairs WHERE ConfigKeyName = ?"),
        { key });
}

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

// The configuration: seeded from its file at the first start, then read and written.
class TestConfigDataFactory : public QObject
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

    // First: no database file exists yet. The first start stores the file, a later one changes
    // nothing; a forced one gives a stored key the file's value unless its overwrite is false.
    void seedingFromTheFile()
    {
        QVERIFY(!m_initializer->isInitialized());
        QVERIFY(writeConfig({ { "a", "1", {} }, { "b", "", "false" }, { "c", "3", "true" } }));
        QSignalSpy finished(m_initializer.get(), &DbInitializer::initFinished);

        m_initializer->initialize(false);
        QVERIFY(m_initializer->isInitialized());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(stored("a"), QString("1"));
        QVERIFY(!stored("b").isNull() && stored("b").isEmpty());

        QVERIFY(writeConfig({ { "a", "file", "false" },
                              { "b", "file", "true" },
                              { "c", "file", {} },
                              { "d", "file", "false" } }));
        m_initializer->initialize(false);
        QCOMPARE(finished.count(), 2);
        QCOMPARE(stored("a"), QString("1"));
        QVERIFY(stored("d").isNull());
        m_initializer->initialize(true);
        QCOMPARE(QStringList({ stored("a"), stored("b"), stored("c"), stored("d") }),
                 QStringList({ "1", "file", "file", "file" }));
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

    void addRefusesTakenAndEmptyKeysAndKeysAreCaseSensitive()
    {
        QVERIFY(m_factory->addConfigData("Key", "upper"));
        QVERIFY(!m_factory->addConfigData("Key", "again"));
        QVERIFY(!m_factory->addConfigData("", "empty"));
        m_factory->clear();
        QVERIFY(!m_factory->addConfigData("Key", "uncached"));

        QVERIFY(m_factory->saveConfigData("key", "lower"));
        QCOMPARE(m_factory->getConfigValue("Key"), QString("upper"));
        QCOMPARE(m_factory->getConfigValue("key"), QString("lower"));
        QCOMPARE(storedValues("Key"), QStringList { "upper" });
    }

    void cacheLoadsAndForgets()
    {
        QVERIFY(ConfigPairsDataHandler().addRecord("stored", "1"));
        QVERIFY(m_factory->isKeyExists("stored"));

        const auto first = m_factory->getConfigData("stored");
        QCOMPARE(m_factory->getConfigData(first->getId()), first);
        QCOMPARE(m_factory->deleteConfigData("stored"), first);
        QVERIFY(!m_factory->isKeyExists("stored"));
        const auto other = m_factory->addConfigData("other", "2");
        QCOMPARE(m_factory->deleteConfigData(other->getId()), other);
        QVERIFY(!m_factory->deleteConfigData(other->getId()));
        QVERIFY(storedValues("other").isEmpty());
    }

    // Adds and updates, each read back. A failed save is the unit-of-work test's.
    void twoThreadsKeepMemoryAndTableInStep()
    {
        const int rounds = 150;
        std::atomic_int faults { 0 };
        // Both threads write each round's key, so adds and updates of one key race; each
        // thread also owns keys whose value it must read back.
        auto worker = [&](int thread) {
            for (int i = 0; i < rounds; ++i) {
                const QString own = QString("thread%1-%2").arg(thread).arg(i % 5);
                const QString round = QString("round%1").arg(i);
                if (!m_factory->saveConfigData(own, QString::number(i))
                    || m_factory->getConfigValue(own) != QString::number(i)
                    || !m_factory->saveConfigData(round, QString::number(thread))
                    || m_factory->getConfigValue(round).isNull())
                    ++faults;
                if (thread == 1 && i % 40 == 0)
                    m_factory->clear();
            }
        };
        std::thread first(worker, 0);
        std::thread second(worker, 1);
        first.join();
        second.join();

        QCOMPARE(faults.load(), 0);
        // Memory and table agree, also for the keys both threads raced on.
        for (int i = 0; i < rounds; ++i) {
            const QString round = QString("round%1").arg(i);
            const QStringList stored = storedValues(round);
            QCOMPARE(stored.size(), 1);
            QCOMPARE(m_factory->getConfigValue(round), stored.first());
        }
    }
};

ZEL_TEST_MAIN(TestConfigDataFactory)
#include "tst_configdatafactory.moc"
