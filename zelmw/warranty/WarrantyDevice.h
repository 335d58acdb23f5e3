#ifndef ZELMW_WARRANTY_WARRANTYDEVICE_H
#define ZELMW_WARRANTY_WARRANTYDEVICE_H

#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/warranty/WarrantyUser.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/WarrantyRegistrationsRecord.h>

namespace zelmw {

// A product registered, or to be registered, for warranty: one row of the registrations
// table, owned by one user. Setters change the in-memory record only; save() writes it
// whole. Copies share the record and the linked user.
class ZELMW_EXPORT WarrantyDevice : public ZelDbConnection
{
public:
    // Loads the row with ID and its user; 0 or an id without a row gives a new, unstored
    // device linked to a new, empty user. Without a database the device has neither.
    explicit WarrantyDevice(int id);
    WarrantyDevice(const WarrantyDevice &other);
    WarrantyDevice &operator=(const WarrantyDevice &other);
    ~WarrantyDevice() override;

    int getId() const;
    int getWarrantyUserDataId() const;
    // Links the user with USERID, loading it unless it is the one linked already.
    void setWarrantyUserDataId(int userId);
    boost::shared_ptr<WarrantyUser> getWarrantyUser() const;
    // A null user changes nothing.
    void setWarrantyUser(const boost::shared_ptr<WarrantyUser> &user);

    QString getProductModelName() const;
    void setProductModelName(const QString &modelName);
    QString getProductFwVersion() const;
    void setProductFwVersion(const QString &fwVersion);
    QString getProductSerialNo() const;
    void setProductSerialNo(const QString &serialNo);
    QString getProductMacAddress() const;
    void setProductMacAddress(const QString &macAddress);
    QString getProductToken() const;
    void setProductToken(const QString &token);
    bool isRegistered() const;
    void setIsRegistered(bool registered);

    // Writes the record (a new device gets its id); fails without opening anything while
    // the linked user is not stored. A change of user, model name, firmware version or
    // serial number against the stored row drops the registration; MAC address and token
    // do not.
    bool save();

private:
    boost::shared_ptr<zeldb::WarrantyRegistrationsRecord> m_record;
    boost::shared_ptr<WarrantyUser> m_user;
};

} // namespace zelmw

#endif // ZELMW_WARRANTY_WARRANTYDEVICE_H
