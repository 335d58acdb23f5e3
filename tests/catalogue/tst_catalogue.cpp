#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>

#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QtTest>

#include <thread>

using namespace zelmw;

namespace {

int rowsNamed(const char *table, const QString &name)
{
    return zeltest::RawStore()
        .value(QStringLiteral("SELECT count(*) FROM %1 WHERE Name = ?").arg(table), { name })
        .toInt();
}

QStringList names(const QList<MapObject::ParameterPtr> &parameters)
{
    QStringList result;
    for (const MapObject::ParameterPtr &parameter : parameters)
        result << parameter->getName();
    return result;
}

} // namespace

// The catalogue of device types and their parameters.
class TestCatalogue : public QObject
{
    Q_OBJECT

    boost::shared_ptr<MapObjectFactory> factory = MapObjectFactory::getInstance();

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

    // A type grows on first sight, one shared instance per row by name and by id; of rows
    // sharing a name the lowest id answers, also when loaded again from the table.
    void typesGrowOnFirstSight()
    {
        QVERIFY(!factory->getMapObject(QStringLiteral("PRINTER"), false));
        const auto printer = factory->getMapObject("PRINTER", true);
        QVERIFY(printer && printer->getIsActive() && printer->getShowOnMap());
        QCOMPARE(rowsNamed("MapObjects", QStringLiteral("PRINTER")), 1);
        QCOMPARE(factory->getMapObject(printer->getId()), printer);
        QVERIFY(factory->exists(QStringLiteral("NAS")));
        QCOMPARE(rowsNamed("MapObjects", QStringLiteral("NAS")), 1);
        // Names are exact.
        QVERIFY(!factory->getMapObject(QStringLiteral("printer"), false));
        QVERIFY(!factory->getMapObject(QString(), true));

        const auto second = factory->createMapObject("PRINTER");
        QVERIFY(second && second->getId() > printer->getId());
        QCOMPARE(factory->getMapObject(QStringLiteral("PRINTER"), true), printer);
        factory->clear();
        const auto reloaded = factory->getMapObject("PRINTER", false);
        QVERIFY(reloaded != printer);
        QCOMPARE(reloaded->getId(), printer->getId());
        QCOMPARE(factory->getMapObject(printer->getId()), reloaded);
    }

    // A deleted parameter is gone; a deleted type is forgotten, but keeps its parameters.
    void deletingParametersAndTypes()
    {
        const auto type = factory->getMapObject("GATEWAY", true);
        type->createParameter(QStringLiteral("KEPT"));
        const MapObject::ParameterPtr gone = type->createParameter(QStringLiteral("GONE"));
        QVERIFY(type->deleteParameter(QStringLiteral("GONE")));
        QVERIFY(!type->hasParameter(QStringLiteral("GONE")) && !type->hasParameter(gone->getId()));
        QCOMPARE(rowsNamed("MapObjectParameters", QStringLiteral("GONE")), 0);
        QCOMPARE(names(type->getParameterList()), QStringList({ "KEPT" }));

        QVERIFY(!factory->deleteMapObject(12345));
        QCOMPARE(factory->deleteMapObject(type->getId()), type);
        QVERIFY(!factory->exists(type->getId()));
        QCOMPARE(rowsNamed("MapObjects", QStringLiteral("GATEWAY")), 0);
        QCOMPARE(rowsNamed("MapObjectParameters", QStringLiteral("KEPT")), 1);
    }

    void parametersAreCreatedOnceAndListedById()
    {
        const auto type = factory->getMapObject("PC", true);
        const QList<MapObject::ParameterPtr> created
            = type->createParameters({ "Z", "A", "A", "", "M" });
        QCOMPARE(names(created), QStringList({ "Z", "A", "M" }));
        QVERIFY(!type->createParameter(QStringLiteral("A")));
        QCOMPARE(rowsNamed("MapObjectParameters", QStringLiteral("A")), 1);
        QCOMPARE(type->getParameter(QStringLiteral("A"), true), created.at(1));
        QVERIFY(!type->getParameter(QStringLiteral("B"), false));

        // A new instance of the type loads the same parameters from the table.
        factory->clear();
        QCOMPARE(names(factory->getMapObject(type->getId())->getParameterList()),
                 QStringList({ "Z", "A", "M" }));
    }

    // Rows sharing a name all load: dropping one would orphan the details stored under it.
    void duplicateStoredNamesAreAllListed()
    {
        const int type = factory->getMapObject(QStringLiteral("PC"), true)->getId();
        MapObjectParameterDataHandler handler;
        const int older = int(handler.addRecord(type, "X")->Id());
        const int newer = int(handler.addRecord(type, "X")->Id());
        factory->clear();
        const auto loaded = factory->getMapObject(type);
        QCOMPARE(loaded->getParameterList().size(), 2);
        QCOMPARE(loaded->getParameter(QStringLiteral("X"), false)->getId(), newer);
        QVERIFY(loaded->hasParameter(older));
    }

    // Each setter marks its own field: a wrong field number would store another column.
    void savedChangesSurviveAReload()
    {
        const auto type = factory->getMapObject("PC", true);
        type->setName(QStringLiteral("WORKSTATION"));
        type->setShowOnMap(false);
        QVERIFY(type->saveData());
        factory->clear();
        const auto reloaded = factory->getMapObject(type->getId());
        QCOMPARE(reloaded->getName(), QStringLiteral("WORKSTATION"));
        QVERIFY(!reloaded->getShowOnMap() && reloaded->getIsActive());
    }

    // Two threads meeting a new type name store it once and share one object. Parameters are
    // created under the same model lock.
    void twoThreadsCreateOneType()
    {
        for (int round = 0; round < 20; ++round) {
            const QString name = QStringLiteral("NEW%1").arg(round);
            MapObjectFactory::MapObjectPtr first;
            std::thread other([&] { first = factory->getMapObject(name, true); });
            const MapObjectFactory::MapObjectPtr second = factory->getMapObject(name, true);
            other.join();
            QCOMPARE(first, second);
            QCOMPARE(rowsNamed("MapObjects", name), 1);
        }
    }
};

ZEL_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
