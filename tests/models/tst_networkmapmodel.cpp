// The table model of the map in use, watched by Qt's model tester while the discovery listener
// (at interval 0) applies the example home scan and this thread, the model's, spins its event
// loop and reads every cell all the time. Meant for ThreadSanitizer too.
#include <zelmw/zelmw.h>

#include "DiscoveryRecords.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <atomic>
#include <functional>
#include <thread>

using namespace zelmw;

namespace {

// Every cell and role of a row, as the model shows it: the columns, then the roles.
QStringList rowCells(const QAbstractItemModel &model, int row)
{
    QStringList cells;
    for (int column = 0; column < NetworkMapModel::ColumnCount; ++column)
        cells << model.index(row, column).data().toString();
    for (int role = NetworkMapModel::DeviceIdRole; role < NetworkMapModel::DetailsRole; ++role)
        cells << model.index(row, 0).data(role).toString();
    QStringList details;
    const QVariantMap values = model.index(row, 0).data(NetworkMapModel::DetailsRole).toMap();
    for (auto it = values.begin(); it != values.end(); ++it)
        details << it.key() + '=' + it.value().toString();
    return cells << details.join(',');
}

QStringList modelRows(const QAbstractItemModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << rowCells(model, row).join('|');
    return rows;
}

// The same read from the map in use through the library.
QStringList mapRows()
{
    QStringList rows;
    const NetworkMapSharedPtr map = zeltest::mapInUse();
    for (const auto &device :
         map ? map->getNwMapObjectList() : QList<NetworkMap::NetworkMapObjectPtr>()) {
        const bool master = device->getId() == map->getMasterDeviceId();
        const bool local = device->getId() == map->getLocalZelPcId();
        const bool wireless = device->getConnectionType() == LAN_TYPE_WIRELESS;
        QStringList cells { device->getTypeName(),
                            device->hasUserDefinedName() ? device->getUserDefinedName()
                                                         : device->getName(),
                            device->getIpAddress(),
                            device->getMacAddress(),
                            device->getIsConnected() ? "yes" : "no",
                            wireless ? "yes" : "no",
                            master      ? "master gateway"
                                : local ? "this PC"
                                        : "" };
        cells << QString::number(device->getId()) << device->getTypeName() << device->getName()
              << device->getIpAddress() << device->getMacAddress()
              << QVariant(device->getIsConnected()).toString() << QVariant(wireless).toString()
              << QVariant(master).toString() << QVariant(local).toString()
              << device->getUserDefinedName();
        QStringList details;
        const QMap<QString, QString> values = device->getDetailNameValueMap();
        for (auto it = values.begin(); it != values.end(); ++it)
            details << it.key() + '=' + it.value();
        rows << (cells << details.join(',')).join('|');
    }
    return rows;
}

} // namespace

class TestNetworkMapModel : public QObject
{
    Q_OBJECT

    NetworkMapModel *model = nullptr;
    DiscoveryHandler handler;
    qint64 fed = 0;

    // Spins the event loop, reading the whole model on every turn, until DONE; false after a
    // minute (a hang).
    bool spinUntil(const std::function<bool()> &done)
    {
        const QDeadlineTimer guard(60000);
        while (!done()) {
            if (guard.hasExpired())
                return false;
            QCoreApplication::processEvents();
            modelRows(*model);
        }
        return true;
    }

    // Queues RECORD for the listener; drained() waits for it.
    void feed(const DiscoveryType &record)
    {
        handler.addDiscovery(record);
        ++fed;
    }

    bool drained()
    {
        return spinUntil([&] { return handler.processedDiscoveryCount() >= fed; });
    }

    // WORK on a thread of its own, as the application's other threads would change the map.
    bool onWorker(const std::function<void()> &work)
    {
        std::atomic<bool> done { false };
        std::thread worker([&] {
            work();
            done = true;
        });
        const bool finished = spinUntil([&] { return done.load(); });
        worker.join();
        return finished;
    }

    // What a view holds that reads only the rows, cells and roles the model announces.
    QVector<QStringList> mirror;

    void watchAnnouncements()
    {
        connect(model, &QAbstractItemModel::modelReset, this, [this] {
            mirror.clear();
            for (int row = 0; row < model->rowCount(); ++row)
                mirror << rowCells(*model, row);
        });
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) {
                    for (int row = first; row <= last; ++row)
                        mirror.insert(row, rowCells(*model, row));
                });
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &, int first, int last) {
                    mirror.remove(first, last - first + 1);
                });
        connect(model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &from, const QModelIndex &to, const QVector<int> &roles) {
                    for (int row = from.row(); row <= to.row(); ++row) {
                        const QStringList now = rowCells(*model, row);
                        for (int column = from.column(); column <= to.column(); ++column) {
                            if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                                mirror[row][column] = now[column];
                        }
                        for (int role = NetworkMapModel::DeviceIdRole;
                             role <= NetworkMapModel::DetailsRole; ++role) {
                            const int at = NetworkMapModel::ColumnCount + role
                                - NetworkMapModel::DeviceIdRole;
                            if (roles.isEmpty() || roles.contains(role))
                                mirror[row][at] = now[at];
                        }
                    }
                });
    }

    // The model shows the map in use, and announced every change it made to show it.
    bool showsMap()
    {
        if (!spinUntil([&] { return modelRows(*model) == mapRows(); }))
            return false;
        QStringList announced;
        for (const QStringList &row : qAsConst(mirror))
            announced << row.join('|');
        return announced == modelRows(*model);
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("MIDDLEWARE.info=false"));
        handler.setListenerInterval(0);
        fed = handler.processedDiscoveryCount();
        model = new NetworkMapModel(this);
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Fatal,
                                     this);
        QCOMPARE(model->rowCount(), 0);
        watchAnnouncements();
    }

    // Every kind of change of the example scan, row by row: new devices, type changes (a device
    // deleted and created again under a new id), a new address, names, both client lists, ping
    // rounds with a disconnect; then a switch to a second network and back.
    void followsTheHomeScan()
    {
        QFile scan(QStringLiteral(ZEL_SOURCE_DIR "/examples/home-scan.jsonl"));
        QVERIFY(scan.open(QIODevice::ReadOnly));
        DiscoveryType homeRouter;
        for (const QByteArray &line : scan.readAll().split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (object.contains("connection")) {
                QMap<QString, bool> report;
                const QJsonObject status = object.value("connection").toObject();
                for (auto entry = status.begin(); entry != status.end(); ++entry)
                    report.insert(entry.key(), entry.value().toBool());
                QVERIFY(drained());
                QVERIFY(onWorker([&] { zeltest::mapInUse()->saveConnectionStatus(report); }));
            } else if (!object.isEmpty()) {
                DiscoveryType record;
                for (auto entry = object.begin(); entry != object.end(); ++entry)
                    record.insert(entry.key(), entry.value().toString());
                if (homeRouter.isEmpty())
                    homeRouter = record;
                // Two at a time: the model reads one record's devices while the listener
                // applies the next.
                feed(record);
                if (fed % 2 == 0)
                    QVERIFY(drained());
            }
        }
        QVERIFY(drained());
        QVERIFY(showsMap());
        QCOMPARE(model->rowCount(), zeltest::mapInUse()->count());
        QVERIFY(model->rowCount() > 20);

        const int homeMapId = zeltest::mapInUse()->getId();
        feed(zeltest::router());
        QVERIFY(drained());
        QVERIFY(zeltest::mapInUse()->getId() != homeMapId);
        QVERIFY(showsMap());
        QCOMPARE(model->rowCount(), 1);
        feed(homeRouter);
        QVERIFY(drained());
        QCOMPARE(zeltest::mapInUse()->getId(), homeMapId);
        QVERIFY(showsMap());
    }

    // A device created and deleted again before the model hears of either: its notifications
    // come late and in a burst, and the row must neither appear nor linger.
    void deviceGoneBeforeItsNotificationArrives()
    {
        const int rows = model->rowCount();
        int id = 0;
        std::thread([&] {
            const NetworkMapSharedPtr map = zeltest::mapInUse();
            const auto device = map->createNwMapObject(DEVICE_TYPE_UNKNOWN_DEVICE, "brief",
                                                       "02:00:00:00:77:01", "192.168.1.199", {});
            id = device ? device->getId() : -1;
            map->deleteNwMapObject(id);
        }).join();
        QVERIFY(id > 0);
        QVERIFY(showsMap());
        QCOMPARE(model->rowCount(), rows);
    }

    // The name column writes the user-defined name through the library and shows it at once.
    void editsTheName()
    {
        const QModelIndex name = model->index(1, NetworkMapModel::NameColumn);
        QVERIFY(model->flags(name) & Qt::ItemIsEditable);
        QVERIFY(model->setData(name, "Hall access point"));
        QCOMPARE(name.data().toString(), QStringLiteral("Hall access point"));
        const auto device
            = zeltest::mapInUse()->getNwMapObject(name.data(NetworkMapModel::DeviceIdRole).toInt());
        QCOMPARE(device->getUserDefinedName(), QStringLiteral("Hall access point"));
        QVERIFY(!model->setData(name, QString()));
        QVERIFY(!model->setData(model->index(1, NetworkMapModel::TypeColumn), "PC"));
        QVERIFY(showsMap());
    }
};

ZEL_TEST_MAIN(TestNetworkMapModel)
#include "tst_networkmapmodel.moc"
