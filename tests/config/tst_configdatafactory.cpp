#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/persistence/ConfigPairsDataHandler_p.h>

#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

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

} // namespace

class TestConfigDataFactory : public QObject
{
    Q_OBJECT

    boost::shared_ptr<ConfigDataFactory> m_factory = ConfigDataFactory::getInstance();

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

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
