#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>

#include "ModelReset.h"
#include "TestSupport.h"

#include <QSqlQuery>
#include <QtTest>

#include <stdexcept>
#include <thread>

using namespace zelmw;

namespace {

class TestConnection : public ZelDbConnection
{
public:
    int count(const QString &table, const QString &name)
    {
        open();
        QSqlQuery query(getSqlDatabase());
        query.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE Name = ?").arg(table));
        query.addBindValue(name);
        const int result = query.exec() && query.next() ? query.value(0).toInt() : -1;
        close();
        return result;
    }
};

int typeRows(const QString &name)
{
    return TestConnection().count(QStringLiteral("MapObjects"), name);
}

int parameterRows(const QString &name)
{
    return TestConnection().count(QStringLiteral("MapObjectParameters"), name);
}

QStringList names(const QList<MapObject::ParameterPtr> &parameters)
{
    QStringList result;
    for (const MapObject::ParameterPtr &parameter : parameters)
        result << parameter->getName();
    return result;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

    boost::shared_ptr<MapObjectFactory> factory = MapObjectFactory::getInstance();

private slots:
    void initTestCase()
    {
        zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
    }

    void cleanup() { QVERIFY(zeltest::resetModel()); }

    void nullRecordsAreRefused()
    {
        try {
            MapObject(boost::shared_ptr<zeldb::MapObjectsRecord>());
            QFAIL("no exception");
        } catch (const std::invalid_argument &error) {
            QCOMPARE(QString::fromLatin1(error.what()),
                     QStringLiteral("MapObject setRecord failed"));
        }
        QVERIFY_EXCEPTION_THROWN(
            MapObjectParameter(boost::shared_ptr<zeldb::MapObjectParametersRecord>()),
            std::invalid_argument);
    }

    void typesGrowOnFirstSight()
    {
        QVERIFY(!factory->getMapObject(QStringLiteral("PRINTER"), false));
        QCOMPARE(typeRows(QStringLiteral("PRINTER")), 0);
        QVERIFY(factory->isEmpty());

        const MapObjectFactory::MapObjectPtr printer
            = factory->getMapObject(QStringLiteral("PRINTER"), true);
        QVERIFY(printer);
        QCOMPARE(printer->getName(), QStringLiteral("PRINTER"));
        QVERIFY(printer->getIsActive() && printer->getShowOnMap());
        QCOMPARE(typeRows(QStringLiteral("PRINTER")), 1);
        // One shared instance per row, by name and by id.
        QCOMPARE(factory->getMapObject(QStringLiteral("PRINTER"), true), printer);
        QCOMPARE(factory->getMapObject(printer->getId()), printer);

        QVERIFY(factory->exists(QStringLiteral("NAS")));
        QCOMPARE(typeRows(QStringLiteral("NAS")), 1);
        QVERIFY(!factory->exists(printer->getId() + 100));
        QCOMPARE(factory->size(), 2);

        // Names are exact.
        QVERIFY(!factory->getMapObject(QStringLiteral("printer"), false));
        QVERIFY(!factory->getMapObject(QString(), true));
    }

    void lookupsPreferCachedThenTableThenLowestId()
    {
        const MapObjectFactory::MapObjectPtr first = factory->createMapObject(QStringLiteral("PC"));
        const MapObjectFactory::MapObjectPtr second
            = factory->createMapObject(QStringLiteral("PC"));
        QVERIFY(first && second && first->getId() < second->getId());
        QCOMPARE(typeRows(QStringLiteral("PC")), 2);
        QCOMPARE(factory->getMapObject(QStringLiteral("PC"), false), first);

        factory->clear();
        QCOMPARE(factory->size(), 0);
        const MapObjectFactory::MapObjectPtr reloaded
            = factory->getMapObject(QStringLiteral("PC"), false);
        QVERIFY(reloaded != first);
        QCOMPARE(reloaded->getId(), first->getId());
        QVERIFY(factory->getMapObject(first->getId()) == reloaded);
    }

    void deletingATypeForgetsItButKeepsItsParameters()
    {
        QVERIFY(!factory->deleteMapObject(12345));
        const MapObjectFactory::MapObjectPtr type
            = factory->getMapObject(QStringLiteral("GATEWAY"), true);
        QVERIFY(type->createParameter(QStringLiteral("P")));
        QCOMPARE(factory->deleteMapObject(type->getId()), type);
        QVERIFY(!factory->exists(type->getId()));
        QCOMPARE(typeRows(QStringLiteral("GATEWAY")), 0);
        QCOMPARE(parameterRows(QStringLiteral("P")), 1);
    }

    void parametersAreCreatedOnceAndListedById()
    {
        const MapObjectFactory::MapObjectPtr type
            = factory->getMapObject(QStringLiteral("PC"), true);
        const QList<MapObject::ParameterPtr> created
            = type->createParameters({ "Z", "A", "A", "", "M" });
        QCOMPARE(names(created), QStringList({ "Z", "A", "M" }));
        QVERIFY(!type->createParameter(QStringLiteral("A")));
        QCOMPARE(parameterRows(QStringLiteral("A")), 1);
        QCOMPARE(type->getParameter(QStringLiteral("A"), true), created.at(1));
        QCOMPARE(type->getParameter(created.at(2)->getId()), created.at(2));
        QVERIFY(!type->getParameter(QStringLiteral("B"), false));
        QVERIFY(!type->hasParameter(QStringLiteral("B")));
        QCOMPARE(names(type->getParameterList()), QStringList({ "Z", "A", "M" }));
        QCOMPARE(created.first()->getMapObject(), type);

        // A new instance of the type loads the same parameters from the table.
        factory->clear();
        QCOMPARE(names(factory->getMapObject(type->getId())->getParameterList()),
                 QStringList({ "Z", "A", "M" }));
    }

    void duplicateStoredNamesAreAllListed()
    {
        const MapObjectFactory::MapObjectPtr type
            = factory->getMapObject(QStringLiteral("PC"), true);
        MapObjectParameterDataHandler handler;
        const MapObjectParameterDataHandler::RecordPtr older
            = handler.addRecord(type->getId(), "X");
        const MapObjectParameterDataHandler::RecordPtr newer
            = handler.addRecord(type->getId(), "X");
        factory->clear();
        const MapObjectFactory::MapObjectPtr loaded = factory->getMapObject(type->getId());
        QCOMPARE(loaded->getParameterList().size(), 2);
        QCOMPARE(loaded->getParameter(QStringLiteral("X"), false)->getId(), int(newer->Id()));
        QVERIFY(loaded->hasParameter(int(older->Id())));
    }

    void deletingAParameter()
    {
        const MapObjectFactory::MapObjectPtr type
            = factory->getMapObject(QStringLiteral("PC"), true);
        const MapObject::ParameterPtr kept = type->createParameter(QStringLiteral("KEPT"));
        const MapObject::ParameterPtr gone = type->createParameter(QStringLiteral("GONE"));
        QVERIFY(type->deleteParameter(QStringLiteral("GONE")));
        QVERIFY(!type->hasParameter(QStringLiteral("GONE")));
        QVERIFY(!type->hasParameter(gone->getId()));
        QCOMPARE(parameterRows(QStringLiteral("GONE")), 0);
        QCOMPARE(names(type->getParameterList()), QStringList({ "KEPT" }));

        // A name the type never had is created and deleted again.
        QVERIFY(type->deleteParameter(QStringLiteral("NEVER")));
        QVERIFY(!type->hasParameter(QStringLiteral("NEVER")));
        QCOMPARE(parameterRows(QStringLiteral("NEVER")), 0);
    }

    void savesWriteOnlyChanges()
    {
        const MapObjectFactory::MapObjectPtr type
            = factory->getMapObject(QStringLiteral("PC"), true);
        QVERIFY(!type->saveData());
        type->setName(QStringLiteral("PC"));
        type->setIsActive(true);
        QVERIFY(!type->saveData());

        type->setName(QStringLiteral("WORKSTATION"));
        type->setShowOnMap(false);
        QVERIFY(type->saveData());
        QVERIFY(!type->saveData());
        factory->clear();
        const MapObjectFactory::MapObjectPtr reloaded = factory->getMapObject(type->getId());
        QCOMPARE(reloaded->getName(), QStringLiteral("WORKSTATION"));
        QVERIFY(!reloaded->getShowOnMap());
        QVERIFY(reloaded->getIsActive());
    }

    void twoThreadsCreateParametersOfOneType()
    {
        const MapObjectFactory::MapObjectPtr type
            = factory->getMapObject(QStringLiteral("PC"), true);
        auto create = [&] {
            for (int i = 0; i < 50; ++i)
                type->getParameter(QStringLiteral("P%1").arg(i), true);
        };
        std::thread first(create);
        std::thread second(create);
        first.join();
        second.join();
        QCOMPARE(type->getParameterList().size(), 50);
        QCOMPARE(parameterRows(QStringLiteral("P7")), 1);
    }

    // Two threads meeting a new type name store it once and share one object.
    void twoThreadsCreateOneType()
    {
        for (int round = 0; round < 20; ++round) {
            const QString name = QStringLiteral("NEW%1").arg(round);
            MapObjectFactory::MapObjectPtr first;
            std::thread other([&] { first = factory->getMapObject(name, true); });
            const MapObjectFactory::MapObjectPtr second = factory->getMapObject(name, true);
            other.join();
            QCOMPARE(first, second);
            QCOMPARE(typeRows(name), 1);
        }
    }

    // Last: it replaces the database with a directory, seen by a fresh thread's connection.
    void unopenableDatabase()
    {
        bool anything = true;
        QVERIFY(zeltest::runWithUnopenableDatabase(ZelDbConnection().getDbPath(), [&] {
            anything = factory->getMapObject(QStringLiteral("PC"), true) || factory->getMapObject(1)
                || factory->exists(QStringLiteral("PC"));
        }));
        QVERIFY(!anything);
        QVERIFY(factory->isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
