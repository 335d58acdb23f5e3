#ifndef ZELMW_WARRANTY_WARRANTYDEVICE_H
#define ZELMW_WARRANTY_WARRANTYDEVICE_H

#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/warranty/WarrantyUser.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/WarrantyRegistrationsRecord.h>

namespace zelmw {

/// A product registered, or to be registered, for warranty: one row of the registrations
/// table, owned by one user. Setters change the in-memory record only; save() writes it
/// whole. Copies share the record and, until one of them links another user, the linked
/// user. Not part of the network-map model: takes no lock and emits no signals; use an object
/// from one thread at a time.
class ZELMW_EXPORT WarrantyDevice : public ZelDbConnection
{
public:
    /// Loads the row with @p id and its user; 0 or an id without a row gives a new, unstored
    /// device linked to a new, empty user. Without a database the device has neither: getters
    /// answer empty values, setters change nothing and save() fails.
    explicit WarrantyDevice(int id);
    ///@{
    /// The copy shares the record, the linked user and the database object.
    WarrantyDevice(const WarrantyDevice &other);
    WarrantyDevice &operator=(const WarrantyDevice &other);
    ///@}
    /// Destroys this object; the record lives on in its copies.
    ~WarrantyDevice() override;

    /// The row's id; 0 for a device not stored yet.
    int getId() const;
    /// The id of the linked user's row; 0 when none is stored.
    int getWarrantyUserDataId() const;
    /// Links the user with @p userId, loading it unless it is the one linked already; a
    /// negative id counts as 0, which links a new, empty user.
    void setWarrantyUserDataId(int userId);
    /// The linked user; null only without a database.
    boost::shared_ptr<WarrantyUser> getWarrantyUser() const;
    /// Links @p user, shared with the caller; a null user changes nothing.
    void setWarrantyUser(const boost::shared_ptr<WarrantyUser> &user);

    ///@{
    /// The product's model name; "zel" marks the product's own entry (see WarrantyManager).
    QString getProductModelName() const;
    void setProductModelName(const QString &modelName);
    ///@}
    ///@{
    /// The product's firmware version.
    QString getProductFwVersion() const;
    void setProductFwVersion(const QString &fwVersion);
    ///@}
    ///@{
    /// The product's serial number; empty for the product's own entry.
    QString getProductSerialNo() const;
    void setProductSerialNo(const QString &serialNo);
    ///@}
    ///@{
    /// The product's MAC address, stored as given.
    QString getProductMacAddress() const;
    void setProductMacAddress(const QString &macAddress);
    ///@}
    ///@{
    /// The application's own reference for the product's registration.
    QString getProductToken() const;
    void setProductToken(const QString &token);
    ///@}
    ///@{
    /// Whether the product has been registered; false without a record.
    bool isRegistered() const;
    void setIsRegistered(bool registered);
    ///@}

    /// Writes the record (a new device gets its id); fails without opening anything while
    /// the linked user is not stored, and fails when the database cannot be opened or the
    /// write fails. A change of user, model name, firmware version or serial number against
    /// the stored row drops the registration; MAC address and token do not.
    bool save();

private:
    boost::shared_ptr<zeldb::WarrantyRegistrationsRecord> m_record;
    boost::shared_ptr<WarrantyUser> m_user;
};

} // namespace zelmw

#endif // ZELMW_WARRANTY_WARRANTYDEVICE_H
