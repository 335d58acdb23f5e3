#ifndef ZELMW_WARRANTY_WARRANTYUSER_H
#define ZELMW_WARRANTY_WARRANTYUSER_H

#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/WarrantyUsersDataRecord.h>

namespace zelmw {

/// The contact data of the user who registers products for warranty: one row of the users
/// table. Setters change the in-memory record only; save() writes it whole. Copies share
/// the record, so a change through one shows in the other. Not part of the network-map model:
/// takes no lock and emits no signals; use an object from one thread at a time.
class ZELMW_EXPORT WarrantyUser : public ZelDbConnection
{
public:
    /// Loads the row with @p id; 0 or an id without a row gives a new, unstored user. Without
    /// a database the user has no record: getters answer empty values, setters change nothing
    /// and save() fails.
    explicit WarrantyUser(int id);
    ///@{
    /// The copy shares the record and the database object.
    WarrantyUser(const WarrantyUser &other);
    WarrantyUser &operator=(const WarrantyUser &other);
    ///@}
    /// Destroys this object; the record lives on in its copies.
    ~WarrantyUser() override;

    /// The row's id; 0 for a user not stored yet.
    int getId() const;
    ///@{
    /// The user's name.
    QString getName() const;
    void setName(QString name);
    ///@}
    ///@{
    /// The user's surname.
    QString getSurName() const;
    void setSurName(QString surName);
    ///@}
    ///@{
    /// The user's e-mail address; not checked (see Utility::isValidEmailAddress).
    QString getMail() const;
    void setMail(QString mail);
    ///@}
    ///@{
    /// The user's phone number.
    QString getPhoneNumber() const;
    void setPhoneNumber(QString phoneNumber);
    ///@}
    ///@{
    /// The application's own reference for the user's registration.
    QString getUserToken() const;
    void setUserToken(QString userToken);
    ///@}
    ///@{
    /// A time stamp the application keeps with the user, stored as given.
    QString getTimeStamp() const;
    void setTimeStamp(QString timeStamp);
    ///@}
    ///@{
    /// Whether the user's data has been registered; false without a record.
    bool isRegistered() const;
    void setIsRegistered(bool registered);
    ///@}

    /// Writes the record (a new user gets its id); false without a record, when the database
    /// cannot be opened or the write fails. A change of name, surname, e-mail address or phone
    /// number against the stored row drops the registration; the token does not. The time
    /// stamp is kept. Not a unit of work: nothing in memory is undone when the write fails.
    bool save();

private:
    boost::shared_ptr<zeldb::WarrantyUsersDataRecord> m_record;
};

} // namespace zelmw

#endif // ZELMW_WARRANTY_WARRANTYUSER_H
