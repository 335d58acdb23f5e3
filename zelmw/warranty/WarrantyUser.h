#ifndef ZELMW_WARRANTY_WARRANTYUSER_H
#define ZELMW_WARRANTY_WARRANTYUSER_H

#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/WarrantyUsersDataRecord.h>

namespace zelmw {

// The contact data of the user who registers products for warranty: one row of the users
// table. Setters change the in-memory record only; save() writes it whole. Copies share
// the record.
class ZELMW_EXPORT WarrantyUser : public ZelDbConnection
{
public:
    // Loads the row with ID; 0 or an id without a row gives a new, unstored user. Without
    // a database the user has no record: getters answer empty values and save() fails.
    explicit WarrantyUser(int id);
    WarrantyUser(const WarrantyUser &other);
    WarrantyUser &operator=(const WarrantyUser &other);
    ~WarrantyUser() override;

    int getId() const;
    QString getName() const;
    void setName(QString name);
    QString getSurName() const;
    void setSurName(QString surName);
    QString getMail() const;
    void setMail(QString mail);
    QString getPhoneNumber() const;
    void setPhoneNumber(QString phoneNumber);
    QString getUserToken() const;
    void setUserToken(QString userToken);
    QString getTimeStamp() const;
    void setTimeStamp(QString timeStamp);
    bool isRegistered() const;
    void setIsRegistered(bool registered);

    // Writes the record (a new user gets its id). A change of name, surname, e-mail address
    // or phone number against the stored row drops the registration; the token does not.
    // The time stamp is kept.
    bool save();

private:
    boost::shared_ptr<zeldb::WarrantyUsersDataRecord> m_record;
};

} // namespace zelmw

#endif // ZELMW_WARRANTY_WARRANTYUSER_H
