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

/// Finds, lists, creates and updates the warranty user and the products to register: the
/// product's own entry (model name "zel") and the CPE entries (keyed by serial number).
/// Every entity handed out is loaded anew for the call. Lookups answer null or an empty
/// list when nothing matches or the database cannot be opened; when several rows match,
/// the first the store returns wins. Not part of the network-map model: takes no lock, emits
/// no signals, and a call that writes several rows is not atomic; use an object from one
/// thread at a time. Copies share the database object.
class ZELMW_EXPORT WarrantyManager : public ZelDbConnection
{
public:
    /// A manager over the process's database.
    WarrantyManager();
    ///@{
    /// The copy shares the database object.
    WarrantyManager(const WarrantyManager &other);
    WarrantyManager &operator=(const WarrantyManager &other);
    ///@}
    /// Destroys this object; entities handed out stay valid.
    ~WarrantyManager() override;

    /// The product's own entry; null when there is none.
    boost::shared_ptr<WarrantyDevice> getZel();
    /// The product's own entry while it is not registered; null otherwise.
    boost::shared_ptr<WarrantyDevice> getZelIfUnRegistered();
    /// The entry with @p serialNo; null when there is none. An empty serial number may find
    /// the product's own entry.
    boost::shared_ptr<WarrantyDevice> getDevice(const QString &serialNo);
    /// The entry whose product token is @p token; null when there is none.
    boost::shared_ptr<WarrantyDevice> findDeviceByToken(const QString &token);
    /// The user whose token is @p token; null when there is none.
    boost::shared_ptr<WarrantyUser> findUserByToken(const QString &token);
    /// Every stored user.
    QList<boost::shared_ptr<WarrantyUser>> getAllUsers();
    /// Every stored user not registered.
    QList<boost::shared_ptr<WarrantyUser>> getUnregisteredUsers();
    /// Every entry of the user with @p userId, the product's own entry included.
    QList<boost::shared_ptr<WarrantyDevice>> getDeviceByUserId(int userId);
    /// Every entry not registered: the product's own entry first, then the CPE entries in
    /// the store's order.
    QList<boost::shared_ptr<WarrantyDevice>> getUnregisteredDevices();

    /// Creates or updates the product's own entry for a stored @p user, setting its firmware
    /// version; false when the user is null or not stored, or the write fails.
    bool addOrUpdateZel(const QString &fwVersion, const boost::shared_ptr<WarrantyUser> &user);
    /// Creates or updates the CPE entry with @p serialNo for a stored @p user. An empty serial
    /// number identifies no CPE and is refused; the product's own entry is never taken for
    /// a CPE entry. False when refused or the write fails.
    bool addOrUpdateCpe(const QString &modelName, const QString &fwVersion, const QString &serialNo,
                        const QString &macAddress, const boost::shared_ptr<WarrantyUser> &user);
    /// Creates (@p userId 0, or an id without a row) or updates a user; the surname is
    /// cleared. When the user ends up unregistered, so do all of the user's products. Never
    /// null; the outcome shows in the user: a new user that could not be stored keeps id 0.
    /// Without a database the user has no record.
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
