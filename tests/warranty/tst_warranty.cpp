#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyManager.h>
#include <zelmw/warranty/WarrantyUser.h>

#include "LogCapture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <boost/make_shared.hpp>
#include <zeldb/ZelDb.h>

#include <thread>

using namespace zelmw;

using UserPtr = boost::shared_ptr<WarrantyUser>;
using DevicePtr = boost::shared_ptr<WarrantyDevice>;

namespace {

// Quotes, SQL and text outside Latin-1 must survive the round trip unchanged.
const QString AWKWARD = QStringLiteral("O'Brien \"Jr\"; DROP TABLE x; -- Zoë Łódź 東京 😀");

// Raw access to the two tables, for what the entities do not show.
class Store : public ZelDbConnection
{
public:
    Store() { open(); }
    ~Store() override { close(); }

    zeldb::WarrantyUsersDataRecord userRow(int id)
    {
        zeldb::WarrantyUsersDataRecord record;
        getWarrantyUsersDataTable()->Get(unsigned(id), record);
        return record;
    }

    int deviceRows()
    {
        QList<zeldb::WarrantyRegistrationsRecord> rows;
        getWarrantyRegistrationsTable()->Get(rows, zeldb::WarrantyRegistrationsSelectionCriteria());
        return rows.size();
    }
};

QList<int> idsOf(const QList<DevicePtr> &devices)
{
    QList<int> ids;
    for (const DevicePtr &device : devices)
        ids << device->getId();
    return ids;
}

// Marks the stored entry registered, as the application does after registering it.
template<typename Entity> void markRegistered(const boost::shared_ptr<Entity> &entity)
{
    entity->setIsRegistered(true);
    QVERIFY(entity->save());
}

} // namespace

class TestWarranty : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        zeltest::isolateDataLocation();
        zeltest::failOnSqlMisuse();
    }

    void init()
    {
        Store store;
        store.clearTables();
    }

    void userSaveKeepsRegistrationUnlessContactDataChanges()
    {
        auto user = boost::make_shared<WarrantyUser>(0);
        user->setName(AWKWARD);
        user->setTimeStamp(QStringLiteral("1700000000"));
        QVERIFY(user->save());
        const int id = user->getId();
        QVERIFY(id > 0);
        const zeldb::WarrantyUsersDataRecord row = Store().userRow(id);
        QVERIFY(row.CreateDate().isValid() && row.UpdateDate().isValid());

        markRegistered(user);
        user->setUserToken(QStringLiteral("token-2"));
        QVERIFY(user->save());
        WarrantyUser reloaded(id);
        QVERIFY(reloaded.isRegistered());
        QCOMPARE(reloaded.getName(), AWKWARD);
        QCOMPARE(reloaded.getUserToken(), QStringLiteral("token-2"));
        QCOMPARE(reloaded.getTimeStamp(), QStringLiteral("1700000000"));

        // A copy shares the record, so the change made through it is what the source saves.
        WarrantyUser copy(*user);
        copy.setPhoneNumber(QStringLiteral("+1 555"));
        QCOMPARE(user->getPhoneNumber(), QStringLiteral("+1 555"));
        QVERIFY(user->save());
        QVERIFY(!user->isRegistered());
        QVERIFY(!WarrantyUser(id).isRegistered());

        WarrantyUser missing(id + 100);
        QCOMPARE(missing.getId(), 0);
        QVERIFY(missing.save());
        QVERIFY(missing.getId() != id + 100);
    }

    void deviceSaveDropsRegistrationOnRegisteredData()
    {
        const UserPtr unsaved = boost::make_shared<WarrantyUser>(0);
        auto device = boost::make_shared<WarrantyDevice>(0);
        device->setWarrantyUser(unsaved);
        QVERIFY(!device->save());
        QCOMPARE(Store().deviceRows(), 0);

        QVERIFY(unsaved->save());
        device->setProductModelName(AWKWARD);
        device->setProductMacAddress(QStringLiteral("aa-bb"));
        QVERIFY(device->save());
        QCOMPARE(device->getWarrantyUserDataId(), unsaved->getId());
        markRegistered(device);

        device->setProductMacAddress(QStringLiteral("AA:BB"));
        device->setProductToken(AWKWARD);
        QVERIFY(device->save());
        QVERIFY(device->isRegistered());
        device->setProductFwVersion(QStringLiteral("2.0"));
        QVERIFY(device->save());
        QVERIFY(!device->isRegistered());

        markRegistered(device);
        const UserPtr other = boost::make_shared<WarrantyUser>(0);
        QVERIFY(other->save());
        device->setWarrantyUser(UserPtr());
        QCOMPARE(device->getWarrantyUser(), unsaved);
        device->setWarrantyUserDataId(other->getId());
        QCOMPARE(device->getWarrantyUser()->getId(), other->getId());
        const UserPtr linked = device->getWarrantyUser();
        device->setWarrantyUserDataId(other->getId());
        QCOMPARE(device->getWarrantyUser(), linked);
        QVERIFY(device->save());
        QVERIFY(!device->isRegistered());

        WarrantyDevice reloaded(device->getId());
        QCOMPARE(reloaded.getProductModelName(), AWKWARD);
        QCOMPARE(reloaded.getProductToken(), AWKWARD);
        QCOMPARE(reloaded.getProductMacAddress(), QStringLiteral("AA:BB"));
        QCOMPARE(reloaded.getWarrantyUser()->getId(), other->getId());
    }

    void registrationLifeCycle()
    {
        WarrantyManager manager;
        QVERIFY(!manager.getZel());
        QVERIFY(manager.getAllUsers().isEmpty());
        QVERIFY(manager.getUnregisteredDevices().isEmpty());

        const UserPtr user
            = manager.addOrUpdateUser(AWKWARD, QStringLiteral("a@b.c"), QStringLiteral("+49 1"), 0);
        QVERIFY(user->getId() > 0);
        QVERIFY(!user->isRegistered());
        QVERIFY(user->getUserToken().isEmpty());
        QVERIFY(!manager.addOrUpdateCpe(QStringLiteral("M1"), QStringLiteral("1.0"),
                                        QStringLiteral("S1"), QString(),
                                        boost::make_shared<WarrantyUser>(0)));
        QVERIFY(manager.addOrUpdateCpe(QStringLiteral("M1"), QStringLiteral("1.0"),
                                       QStringLiteral("S1"), QStringLiteral("m1"), user));
        QVERIFY(manager.addOrUpdateCpe(QStringLiteral("M2"), QStringLiteral("1.0"),
                                       QStringLiteral("S2"), QStringLiteral("m2"), user));
        QVERIFY(manager.addOrUpdateZel(QStringLiteral("5.0"), user));
        QVERIFY(manager.addOrUpdateZel(QStringLiteral("5.0"), user));
        const int zelId = manager.getZel()->getId();
        const int s1 = manager.getDevice(QStringLiteral("S1"))->getId();
        const int s2 = manager.getDevice(QStringLiteral("S2"))->getId();
        // The product's own entry comes first although it was stored last.
        QCOMPARE(idsOf(manager.getUnregisteredDevices()), QList<int>({ zelId, s1, s2 }));
        QCOMPARE(manager.getUnregisteredUsers().size(), 1);

        markRegistered(manager.getUnregisteredUsers().first());
        for (const DevicePtr &device : manager.getUnregisteredDevices())
            markRegistered(device);
        QVERIFY(manager.getUnregisteredUsers().isEmpty());
        QVERIFY(manager.getUnregisteredDevices().isEmpty());
        QVERIFY(!manager.getZelIfUnRegistered());

        // Only what was registered counts: a new MAC address does not, a new firmware does.
        QVERIFY(manager.addOrUpdateZel(QStringLiteral("5.0"), user));
        QVERIFY(manager.addOrUpdateCpe(QStringLiteral("M1"), QStringLiteral("1.0"),
                                       QStringLiteral("S1"), QStringLiteral("m1-new"), user));
        QVERIFY(manager.getUnregisteredDevices().isEmpty());
        QVERIFY(manager.addOrUpdateCpe(QStringLiteral("M2"), QStringLiteral("1.1"),
                                       QStringLiteral("S2"), QStringLiteral("m2"), user));
        QCOMPARE(idsOf(manager.getUnregisteredDevices()), QList<int>({ s2 }));
        QCOMPARE(manager.getAllUsers().size(), 1);
        QCOMPARE(Store().deviceRows(), 3);
    }

    void changedUserUnregistersOnlyTheirDevices()
    {
        WarrantyManager manager;
        const UserPtr alice
            = manager.addOrUpdateUser(QStringLiteral("Alice"), QString(), QStringLiteral("1"), 0);
        const UserPtr bob
            = manager.addOrUpdateUser(QStringLiteral("Bob"), QString(), QStringLiteral("2"), 0);
        QVERIFY(
            manager.addOrUpdateCpe(QString(), QString(), QStringLiteral("A1"), QString(), alice));
        QVERIFY(
            manager.addOrUpdateCpe(QString(), QString(), QStringLiteral("A2"), QString(), alice));
        QVERIFY(manager.addOrUpdateCpe(QString(), QString(), QStringLiteral("B1"), QString(), bob));
        for (const UserPtr &user : manager.getAllUsers())
            markRegistered(user);
        for (const DevicePtr &device : manager.getUnregisteredDevices())
            markRegistered(device);

        QVERIFY(manager
                    .addOrUpdateUser(QStringLiteral("Alice"), QString(), QStringLiteral("1"),
                                     alice->getId())
                    ->isRegistered());
        QVERIFY(manager.getUnregisteredDevices().isEmpty());

        QVERIFY(!manager
                     .addOrUpdateUser(QStringLiteral("Alice"), QString(), QStringLiteral("9"),
                                      alice->getId())
                     ->isRegistered());
        QCOMPARE(idsOf(manager.getUnregisteredDevices()),
                 idsOf(manager.getDeviceByUserId(alice->getId())));
        QCOMPARE(manager.getUnregisteredDevices().size(), 2);

        // The surname is not offered, so a stored one is cleared and counts as a change.
        const UserPtr stored = boost::make_shared<WarrantyUser>(bob->getId());
        stored->setSurName(QStringLiteral("Builder"));
        QVERIFY(stored->save());
        markRegistered(stored);
        QVERIFY(!manager
                     .addOrUpdateUser(QStringLiteral("Bob"), QString(), QStringLiteral("2"),
                                      bob->getId())
                     ->isRegistered());
        QCOMPARE(manager.getUnregisteredDevices().size(), 3);

        const UserPtr added
            = manager.addOrUpdateUser(QStringLiteral("Carol"), QString(), QString(), 999);
        QVERIFY(added->getId() > bob->getId() && added->getId() != 999);
    }

    void lookupsAnswerTheFirstOfDuplicates()
    {
        WarrantyManager manager;
        const UserPtr user = manager.addOrUpdateUser(QString(), QString(), QString(), 0);
        QList<int> ids;
        for (int i = 0; i < 2; ++i) {
            const UserPtr tokenUser = boost::make_shared<WarrantyUser>(0);
            tokenUser->setUserToken(AWKWARD);
            QVERIFY(tokenUser->save());
            WarrantyDevice device(0);
            device.setWarrantyUser(user);
            device.setProductSerialNo(AWKWARD);
            device.setProductToken(AWKWARD);
            QVERIFY(device.save());
            ids << device.getId() << tokenUser->getId();
        }
        QCOMPARE(manager.getDevice(AWKWARD)->getId(), ids.at(0));
        QCOMPARE(manager.findDeviceByToken(AWKWARD)->getId(), ids.at(0));
        QCOMPARE(manager.findUserByToken(AWKWARD)->getId(), ids.at(1));
        QVERIFY(!manager.findUserByToken(QStringLiteral("O'Brien")));
        // Every call loads a new entity.
        QVERIFY(manager.getDevice(AWKWARD) != manager.getDevice(AWKWARD));
    }

    void cpeNeverTakesOverTheProductsOwnEntry()
    {
        WarrantyManager manager;
        const UserPtr user = manager.addOrUpdateUser(QString(), QString(), QString(), 0);
        QVERIFY(manager.addOrUpdateZel(QStringLiteral("5.0"), user));
        QVERIFY(!manager.addOrUpdateCpe(QStringLiteral("M"), QStringLiteral("1"), QString(),
                                        QString(), user));
        const DevicePtr zel = manager.getZel();
        zel->setProductSerialNo(QStringLiteral("S"));
        QVERIFY(zel->save());
        QVERIFY(manager.addOrUpdateCpe(QStringLiteral("M"), QStringLiteral("1"),
                                       QStringLiteral("S"), QString(), user));
        const DevicePtr zelAfter = manager.getZel();
        QVERIFY(zelAfter);
        QCOMPARE(zelAfter->getId(), zel->getId());
        QCOMPARE(zelAfter->getProductFwVersion(), QStringLiteral("5.0"));
        QCOMPARE(Store().deviceRows(), 2);
    }

    // Last: the replaced file stays replaced for the rest of the process. The record store
    // keeps a thread's connection open for the thread's life, so the checks run in a
    // thread that opens the database for the first time.
    void unopenableDatabaseFailsByResult()
    {
        WarrantyManager manager;
        const UserPtr user = manager.addOrUpdateUser(QStringLiteral("A"), QString(), QString(), 0);
        QVERIFY(user->getId() > 0);
        zeltest::LogCapture quiet(QStringLiteral("ZELDB"));
        QStringList failed;
        QVERIFY(zeltest::runWithUnopenableDatabase(manager.getDbPath(), [&] {
            WarrantyManager unopenable;
            const auto check = [&](bool ok, const char *what) {
                if (!ok)
                    failed << QLatin1String(what);
            };
            WarrantyUser loaded(user->getId());
            check(loaded.getId() == 0 && loaded.getName().isEmpty(), "user without record");
            loaded.setName(QStringLiteral("x"));
            check(loaded.getName().isEmpty() && !loaded.save(), "user setter and save");
            WarrantyDevice device(0);
            check(!device.getWarrantyUser() && !device.save(), "device without record");
            check(!user->save(), "save of a loaded user");
            check(!unopenable.getZel() && !unopenable.findUserByToken(QString()), "lookups");
            check(unopenable.getAllUsers().isEmpty()
                      && unopenable.getUnregisteredDevices().isEmpty()
                      && unopenable.getDeviceByUserId(user->getId()).isEmpty(),
                  "lists");
            check(!unopenable.addOrUpdateZel(QStringLiteral("1"), user)
                      && !unopenable.addOrUpdateCpe(QString(), QString(), QStringLiteral("S"),
                                                    QString(), user),
                  "add or update of products");
            const UserPtr answered = unopenable.addOrUpdateUser(QStringLiteral("B"), QString(),
                                                                QString(), user->getId());
            check(answered && answered->getId() == 0 && answered->getName().isEmpty(),
                  "add or update of a user");
        }));
        QCOMPARE(failed, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestWarranty)
#include "tst_warranty.moc"
