#include <zelmw/networkmap/NetworkMapObjectFactory.h>

#include "NetworkMapStore.h"
#include "TestSupport.h"

#include <QtTest>

using namespace zelmw;

class TestNetworkMapObjectFactory : public QObject
{
    Q_OBJECT

    boost::shared_ptr<NetworkMapObjectFactory> m_factory;
    int m_type = 0;

private slots:
    void initTestCase()
    {
        zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
        m_factory = NetworkMapObjectFactory::getInstance();
        QCOMPARE(NetworkMapObjectFactory::getInstance(), m_factory);
    }

    void init() { m_type = MapObjectFactory::getInstance()->getMapObject("PC", true)->getId(); }
    void cleanup() { NetworkMapStore::reset(); }

    void addValidatesAndCaches()
    {
        QVERIFY(!m_factory->addNetworkMapObject(m_type, 1, "pc", "00:00:00:00:00:00", "10.0.0.1"));
        QVERIFY(!m_factory->addNetworkMapObject(m_type, 1, "pc", "00:11:22:33:44:55", "10.0.0"));
        QVERIFY(!m_factory->addNetworkMapObject(m_type, 1, "", "00:11:22:33:44:55", "10.0.0.1"));
        QCOMPARE(NetworkMapStore().deviceRows(), 0);
        QVERIFY(m_factory->isEmpty());

        const auto added
            = m_factory->addNetworkMapObject(m_type, 3, "pc", "00:11:22:33:44:55", "10.0.0.1");
        QVERIFY(added);
        QVERIFY(added->getIsConnected());
        QCOMPARE(added->getNetworkMapId(), 3);
        QCOMPARE(m_factory->getNetworkMapObject(added->getId()), added);
        QCOMPARE(m_factory->size(), 1);
        QVERIFY(NetworkMapStore().deviceRow(added->getId()).IsConnected());
    }

    void lookupsLoadOnceAndMissesCacheNothing()
    {
        const auto stored = NetworkMapStore::device("PC");
        QVERIFY(stored->saveDetail("A", "1"));
        QVERIFY(!m_factory->getNetworkMapObject(stored->getId() + 1));
        QVERIFY(m_factory->isEmpty());

        const auto loaded = m_factory->getNetworkMapObject(stored->getId());
        QVERIFY(loaded && loaded != stored);
        QCOMPARE(loaded->getDetailValue("A", ""), QString("1"));
        // A detail's device is the repository's object, not its owner.
        QCOMPARE(stored->getDetail("A")->getNetworkMapObject(), loaded);
        QCOMPARE(m_factory->getNetworkMapObject(stored->getId()), loaded);

        m_factory->clear();
        QVERIFY(m_factory->isEmpty());
        const auto reloaded = m_factory->getNetworkMapObject(stored->getId());
        QVERIFY(reloaded && reloaded != loaded);
    }

    void deleteRemovesTheRowButNotTheDetails()
    {
        QVERIFY(!m_factory->deleteNetworkMapObject(12345));

        const auto stored = NetworkMapStore::device("PC");
        QVERIFY(stored->saveDetail("A", "1"));
        const auto deleted = m_factory->deleteNetworkMapObject(stored->getId());
        QVERIFY(deleted);
        QCOMPARE(deleted->getId(), stored->getId());
        QVERIFY(m_factory->isEmpty());
        QCOMPARE(NetworkMapStore().deviceRows(), 0);
        QCOMPARE(NetworkMapStore().detailRows(), 1);
        QVERIFY(!m_factory->getNetworkMapObject(stored->getId()));
    }
};

QTEST_GUILESS_MAIN(TestNetworkMapObjectFactory)
#include "tst_networkmapobjectfactory.moc"
