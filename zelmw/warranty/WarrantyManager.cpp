#include <zelmw/warranty/WarrantyManager.h>

#include <boost/make_shared.hpp>
#include <zeldb/ZelDb.h>

namespace zelmw {

namespace {

using DeviceCriteria = zeldb::WarrantyRegistrationsSelectionCriteria;
using UserCriteria = zeldb::WarrantyUsersDataSelectionCriteria;

const QString ZEL_MODEL_NAME = QStringLiteral("zel");

// Constructs an entity for each row that CRITERIA selects while CONNECTION is open; the
// entities load their rows through their own connections.
template<typename Entity, typename Record, typename Table, typename Criteria>
QList<boost::shared_ptr<Entity>> entitiesOfRows(ZelDbConnection &connection, Table *table,
                                                const Criteria &criteria, int limit)
{
    QList<boost::shared_ptr<Entity>> entities;
    if (!connection.open())
        return entities;
    QList<Record> records;
    if (table->Get(records, criteria)) {
        for (const auto &record : qAsConst(records)) {
            if (limit > 0 && entities.size() == limit)
                break;
            entities.append(boost::make_shared<Entity>(int(record.Id())));
        }
    }
    connection.close();
    return entities;
}

template<typename Entity>
boost::shared_ptr<Entity> firstOf(const QList<boost::shared_ptr<Entity>> &entities)
{
    return entities.isEmpty() ? boost::shared_ptr<Entity>() : entities.first();
}

bool isStored(const boost::shared_ptr<WarrantyUser> &user)
{
    return user && user->getId() > 0;
}

} // namespace

WarrantyManager::WarrantyManager() = default;
WarrantyManager::WarrantyManager(const WarrantyManager &other) = default;
WarrantyManager &WarrantyManager::operator=(const WarrantyManager &other) = default;
WarrantyManager::~WarrantyManager() = default;

QList<boost::shared_ptr<WarrantyDevice>>
WarrantyManager::findDevices(const DeviceCriteria &criteria, int limit)
{
    return entitiesOfRows<WarrantyDevice, zeldb::WarrantyRegistrationsRecord>(
        *this, getWarrantyRegistrationsTable(), criteria, limit);
}

QList<boost::shared_ptr<WarrantyUser>> WarrantyManager::findUsers(const UserCriteria &criteria,
                                                                  int limit)
{
    return entitiesOfRows<WarrantyUser, zeldb::WarrantyUsersDataRecord>(
        *this, getWarrantyUsersDataTable(), criteria, limit);
}

boost::shared_ptr<WarrantyDevice> WarrantyManager::getZel()
{
    DeviceCriteria criteria;
    criteria.ProductModelNameEqualsTo(ZEL_MODEL_NAME);
    return firstOf(findDevices(criteria, 1));
}

boost::shared_ptr<WarrantyDevice> WarrantyManager::getZelIfUnRegistered()
{
    DeviceCriteria criteria;
    criteria.IsRegisteredEqualsTo(false);
    criteria.ProductModelNameEqualsTo(ZEL_MODEL_NAME);
    return firstOf(findDevices(criteria, 1));
}

boost::shared_ptr<WarrantyDevice> WarrantyManager::getDevice(const QString &serialNo)
{
    DeviceCriteria criteria;
    criteria.ProductSerialNoEqualsTo(serialNo);
    return firstOf(findDevices(criteria, 1));
}

boost::shared_ptr<WarrantyDevice> WarrantyManager::findDeviceByToken(const QString &token)
{
    DeviceCriteria criteria;
    criteria.ProductTokenEqualsTo(token);
    return firstOf(findDevices(criteria, 1));
}

boost::shared_ptr<WarrantyUser> WarrantyManager::findUserByToken(const QString &token)
{
    UserCriteria criteria;
    criteria.UserTokenEqualsTo(token);
    return firstOf(findUsers(criteria, 1));
}

QList<boost::shared_ptr<WarrantyUser>> WarrantyManager::getAllUsers()
{
    return findUsers(UserCriteria());
}

QList<boost::shared_ptr<WarrantyUser>> WarrantyManager::getUnregisteredUsers()
{
    UserCriteria criteria;
    criteria.IsRegisteredEqualsTo(false);
    return findUsers(criteria);
}

QList<boost::shared_ptr<WarrantyDevice>> WarrantyManager::getDeviceByUserId(int userId)
{
    DeviceCriteria criteria;
    criteria.WarrantyUserDataIdEqualsTo(unsigned(qMax(userId, 0)));
    return findDevices(criteria);
}

QList<boost::shared_ptr<WarrantyDevice>> WarrantyManager::getUnregisteredDevices()
{
    DeviceCriteria criteria;
    criteria.IsRegisteredEqualsTo(false);
    criteria.ProductModelNameNotEqualsTo(ZEL_MODEL_NAME);
    QList<boost::shared_ptr<WarrantyDevice>> devices = findDevices(criteria);
    const boost::shared_ptr<WarrantyDevice> zel = getZelIfUnRegistered();
    if (zel)
        devices.prepend(zel);
    return devices;
}

bool WarrantyManager::addOrUpdateZel(const QString &fwVersion,
                                     const boost::shared_ptr<WarrantyUser> &user)
{
    if (!isStored(user))
        return false;
    boost::shared_ptr<WarrantyDevice> zel = getZel();
    if (!zel) {
        zel = boost::make_shared<WarrantyDevice>(0);
        zel->setIsRegistered(false);
        zel->setProductToken(QString());
        zel->setProductModelName(ZEL_MODEL_NAME);
        zel->setProductSerialNo(QString());
        zel->setProductMacAddress(QString());
    }
    zel->setWarrantyUser(user);
    zel->setProductFwVersion(fwVersion);
    return zel->save();
}

bool WarrantyManager::addOrUpdateCpe(const QString &modelName, const QString &fwVersion,
                                     const QString &serialNo, const QString &macAddress,
                                     const boost::shared_ptr<WarrantyUser> &user)
{
    // The product's own entry has an empty serial number: a CPE without one would take it
    // over, so such a CPE is refused, and a serial number shared with the product's own
    // entry finds only CPE entries.
    if (!isStored(user) || serialNo.isEmpty())
        return false;
    DeviceCriteria criteria;
    criteria.ProductSerialNoEqualsTo(serialNo);
    criteria.ProductModelNameNotEqualsTo(ZEL_MODEL_NAME);
    boost::shared_ptr<WarrantyDevice> cpe = firstOf(findDevices(criteria, 1));
    if (!cpe) {
        cpe = boost::make_shared<WarrantyDevice>(0);
        cpe->setIsRegistered(false);
        cpe->setProductToken(QString());
    }
    cpe->setProductModelName(modelName);
    cpe->setProductFwVersion(fwVersion);
    cpe->setProductSerialNo(serialNo);
    cpe->setProductMacAddress(macAddress);
    cpe->setWarrantyUser(user);
    return cpe->save();
}

boost::shared_ptr<WarrantyUser> WarrantyManager::addOrUpdateUser(const QString &name,
                                                                 const QString &mail,
                                                                 const QString &phoneNumber,
                                                                 int userId)
{
    const boost::shared_ptr<WarrantyUser> user = boost::make_shared<WarrantyUser>(userId);
    if (userId == 0) {
        user->setIsRegistered(false);
        user->setUserToken(QString());
    }
    user->setName(name);
    // The surname is not asked for here, so it is cleared rather than left stale.
    user->setSurName(QString());
    user->setMail(mail);
    user->setPhoneNumber(phoneNumber);
    // The outcome is not reported: the caller reads it from the user (a new user that was
    // not stored keeps id 0, and owns no products to unregister).
    user->save();
    if (!user->isRegistered() && user->getId() > 0) {
        for (const boost::shared_ptr<WarrantyDevice> &device : getDeviceByUserId(user->getId())) {
            device->setIsRegistered(false);
            device->save();
        }
    }
    return user;
}

} // namespace zelmw
