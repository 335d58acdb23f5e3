#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyManager.h>
#include <zelmw/warranty/WarrantyUser.h>

#include "ModelReset.h"
#include "RawStore.h"
#include "TestSupport.h"

#include <QtTest>
#include <boost/make_shared.hpp>

#include <functional>
#include <map>

using namespace zelmw;

using UserPtr = boost::shared_ptr<WarrantyUser>;
using DevicePtr = boost::shared_ptr<WarrantyDevice>;

namespace {

// Quotes, SQL and text outside Latin-1 must survive the round trip unchanged.
const QString AWKWARD = QStringLiteral("O'Brien \"Jr\"; DROP TABLE x; -- Zoë Łódź 東京 😀");

QList<int> idsOf(const QList<DevicePtr> &devices)
{
    QList<int> ids;
    for (const DevicePtr &device : devices)
        ids << device->getId();
    return ids;
}

// Marks the stored entries registered, as the application does after registering them.
template<typename Entity> void markRegistered(const QList<boost::shared_ptr<Entity>> &entities)
{
    for (const boost::shared_ptr<Entity> &entity : entities) {
        entity->setIsRegistered(true);
        QVERIFY(entity->save());
    }
}

UserPtr addUser(WarrantyManager &manager, const QString &name)
{
    return manager.addOrUpdateUser(name, QString(), QString(), 0);
}

} // namespace

class TestWarranty : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(zeltest::resetModel()); }

    // Only a change of what was registered drops the registration; the row is saved either way,
    // and a token stored with awkward text is found again.
    // Phone, surname, firmware and MAC address are changed in the tests below.
    void changeDropsRegistration_data()
    {
        QTest::addColumn<bool>("drops");
        for (const char *field : { "name", "mail", "user of device", "model", "serial number" })
            QTest::newRow(field) << true;
        for (const char *field : { "user token", "time stamp", "device token" })
            QTest::newRow(field) << false;
    }

    void changeDropsRegistration()
    {
        QFETCH(bool, drops);
        WarrantyManager manager;
        const UserPtr user = addUser(manager, "A");
        const UserPtr other = addUser(manager, "B");
        QVERIFY(manager.addOrUpdateCpe("M", "1", "S", "m", user));
        const DevicePtr device = manager.getDevice("S");
        markRegistered(QList<UserPtr> { user });
        markRegistered(QList<DevicePtr> { device });
        const std::map<QString, std::function<void()>> change {
            { "name", [&] { user->setName(AWKWARD); } },
            { "mail", [&] { user->setMail(AWKWARD); } },
            { "user token", [&] { user->setUserToken(AWKWARD); } },
            { "time stamp", [&] { user->setTimeStamp(AWKWARD); } },
            { "user of device", [&] { device->setWarrantyUserDataId(other->getId()); } },
            { "model", [&] { device->setProductModelName(AWKWARD); } },
            { "serial number", [&] { device->setProductSerialNo(AWKWARD); } },
            { "device token", [&] { device->setProductToken(AWKWARD); } },
        };
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        change.at(tag)();
        QVERIFY(user->save() && device->save());
        QCOMPARE(WarrantyUser(user->getId()).isRegistered()
                     && WarrantyDevice(device->getId()).isRegistered(),
                 !drops);
        // A token finds its entry by the whole text only, never another field's.
        const UserPtr byToken = manager.findUserByToken(AWKWARD);
        QCOMPARE(byToken ? byToken->getId() : 0, tag == "user token" ? user->getId() : 0);
        const DevicePtr deviceByToken = manager.findDeviceByToken(AWKWARD);
        QCOMPARE(deviceByToken ? deviceByToken->getId() : 0,
                 tag == "device token" ? device->getId() : 0);
        QVERIFY(!manager.findUserByToken("O'Brien"));
    }

    void registrationLifeCycle()
    {
        WarrantyManager manager;
        const UserPtr user = manager.addOrUpdateUser(AWKWARD, "a@b.c", "+49 1", 0);
        QVERIFY(user->getId() > 0 && !user->isRegistered());
        QCOMPARE(WarrantyUser(user->getId()).getName(), AWKWARD);
        // A device needs a stored user and a CPE a serial number.
        WarrantyDevice orphan(0);
        orphan.setWarrantyUser(boost::make_shared<WarrantyUser>(0));
        QVERIFY(!orphan.save());
        QVERIFY(!manager.addOrUpdateCpe("M1", "1.0", QString(), QString(), user));
        QCOMPARE(zeltest::RawStore().rowCount("WarrantyRegistrations"), 0);

        QVERIFY(manager.addOrUpdateCpe("M1", "1.0", "S1", "m1", user));
        QVERIFY(manager.addOrUpdateCpe("M2", "1.0", "S2", "m2", user));
        QVERIFY(manager.addOrUpdateZel("5.0", user));
        QVERIFY(manager.addOrUpdateZel("5.0", user));
        const int zelId = manager.getZel()->getId();
        const int s1 = manager.getDevice("S1")->getId();
        const int s2 = manager.getDevice("S2")->getId();
        // The product's own entry comes first although it was stored last.
        QCOMPARE(idsOf(manager.getUnregisteredDevices()), QList<int>({ zelId, s1, s2 }));

        markRegistered(manager.getUnregisteredUsers());
        markRegistered(manager.getUnregisteredDevices());
        QVERIFY(manager.getUnregisteredUsers().isEmpty());

        // Updating with what was registered, or with a new MAC address, keeps the registration.
        QVERIFY(manager.addOrUpdateZel("5.0", user));
        QVERIFY(manager.addOrUpdateCpe("M1", "1.0", "S1", "m1-new", user));
        QVERIFY(manager.getUnregisteredDevices().isEmpty());
        QVERIFY(manager.addOrUpdateCpe("M2", "1.1", "S2", "m2", user));
        QCOMPARE(idsOf(manager.getUnregisteredDevices()), QList<int>({ s2 }));

        // A CPE never takes over the product's own entry, whatever its serial number.
        const DevicePtr zel = manager.getZel();
        zel->setProductSerialNo("S3");
        QVERIFY(zel->save() && manager.addOrUpdateCpe("M3", "1.0", "S3", "m3", user));
        QCOMPARE(manager.getZel()->getProductFwVersion(), "5.0");
        QCOMPARE(zeltest::RawStore().rowCount("WarrantyRegistrations"), 4);
    }

    void changedUserUnregistersOnlyTheirDevices()
    {
        WarrantyManager manager;
        const UserPtr alice = manager.addOrUpdateUser("Alice", QString(), "1", 0);
        const UserPtr bob = addUser(manager, "Bob");
        for (const char *serial : { "A1", "A2", "B1" })
            QVERIFY(manager.addOrUpdateCpe(QString(), QString(), serial, QString(),
                                           serial[0] == 'A' ? alice : bob));
        markRegistered(manager.getAllUsers());
        markRegistered(manager.getUnregisteredDevices());

        const auto updateAlice = [&](const char *phone) {
            return manager.addOrUpdateUser("Alice", QString(), phone, alice->getId());
        };
        QVERIFY(updateAlice("1")->isRegistered());
        QVERIFY(manager.getUnregisteredDevices().isEmpty());
        QVERIFY(!updateAlice("9")->isRegistered());
        QCOMPARE(idsOf(manager.getUnregisteredDevices()),
                 idsOf(manager.getDeviceByUserId(alice->getId())));
        QCOMPARE(manager.getUnregisteredDevices().size(), 2);

        // The surname is not offered, so a stored one is cleared and counts as a change.
        bob->setSurName("Builder");
        QVERIFY(bob->save());
        markRegistered(QList<UserPtr> { bob });
        QVERIFY(
            !manager.addOrUpdateUser("Bob", QString(), QString(), bob->getId())->isRegistered());
        QCOMPARE(manager.getUnregisteredDevices().size(), 3);

        // An id without a row adds a user.
        const UserPtr added = manager.addOrUpdateUser("Carol", QString(), QString(), 999);
        QVERIFY(added->getId() > bob->getId() && added->getId() != 999);
    }
};

ZEL_TEST_MAIN(TestWarranty)
#include "tst_warranty.moc"
