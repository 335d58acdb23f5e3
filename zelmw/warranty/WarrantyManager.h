#ifndef ZELMW_WARRANTY_WARRANTYMANAGER_H
#define ZELMW_WARRANTY_WARRANTYMANAGER_H

#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyUser.h>
#include <zelmw/zelmw_export.h>

#include <QList>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/WarrantyRegistrationsSelectionCriteria.h>
#include <zeldb/WarrantyUsersDataSelectionCriteria.h>

namespace zelmw {

// Finds, lists, creates and updates the warranty user and the products to register: the
// product's own entry (model name "zel") and the CPE entries (keyed by serial number).
// Every entity handed out is loaded anew for the call. Lookups answer null or an empty
// list when nothing matches or the database cannot be opened; when several rows match,
// the first the store returns wins.
class ZELMW_EXPORT WarrantyManager : public ZelDbConnection
{
public:
    WarrantyManager();
    WarrantyManager(const WarrantyManager &other);
    WarrantyManager &operator=(const WarrantyManager &other);
    ~WarrantyManager() override;

    boost::shared_ptr<WarrantyDevice> getZel();
    boost::shared_ptr<WarrantyDevice> getZelIfUnRegistered();
    boost::shared_ptr<WarrantyDevice> getDevice(const QString &serialNo);
    boost::shared_ptr<WarrantyDevice> findDeviceByToken(const QString &token);
    boost::shared_ptr<WarrantyUser> findUserByToken(const QString &token);
    QList<boost::shared_ptr<WarrantyUser>> getAllUsers();
    QList<boost::shared_ptr<WarrantyUser>> getUnregisteredUsers();
    QList<boost::shared_ptr<WarrantyDevice>> getDeviceByUserId(int userId);
    // The product's own entry first, then the CPE entries in the store's order.
    QList<boost::shared_ptr<WarrantyDevice>> getUnregisteredDevices();

    // Creates or updates the product's own entry for a stored USER.
    bool addOrUpdateZel(const QString &fwVersion, const boost::shared_ptr<WarrantyUser> &user);
    // Creates or updates the CPE entry with SERIALNO for a stored USER. An empty serial
    // number identifies no CPE and is refused; the product's own entry is never taken for
    // a CPE entry.
    bool addOrUpdateCpe(const QString &modelName, const QString &fwVersion, const QString &serialNo,
                        const QString &macAddress, const boost::shared_ptr<WarrantyUser> &user);
    // Creates (USERID 0) or updates a user; when the user ends up unregistered, so do all of
    // the user's products. Never null; without a database the user has no record.
    boost::shared_ptr<WarrantyUser> addOrUpdateUser(const QString &name, const QString &mail,
                                                    const QString &phoneNumber, int userId);

private:
    // The entities of the matching rows, at most LIMIT of them when LIMIT is positive.
    QList<boost::shared_ptr<WarrantyDevice>>
    findDevices(const zeldb::WarrantyRegistrationsSelectionCriteria &criteria, int limit = 0);
    QList<boost::shared_ptr<WarrantyUser>>
    findUsers(const zeldb::WarrantyUsersDataSelectionCriteria &criteria, int limit = 0);
};

} // namespace zelmw

#endif // ZELMW_WARRANTY_WARRANTYMANAGER_H
