#ifndef ZELDB_WARRANTYUSERSDATARECORD_H
#define ZELDB_WARRANTYUSERSDATARECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The contact data of a user who registers products for warranty. A record is a plain value;
/// see RecordBase for its threads and copies.
class ZELDB_EXPORT WarrantyUsersDataRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of Name() and setName().
        FieldName = 1,
        /// The field of Surname() and setSurname().
        FieldSurname = 2,
        /// The field of Email() and setEmail().
        FieldEmail = 3,
        /// The field of PhoneNumber() and setPhoneNumber().
        FieldPhoneNumber = 4,
        /// The field of UserToken() and setUserToken().
        FieldUserToken = 5,
        /// The field of Extra1() and setExtra1().
        FieldExtra1 = 6,
        /// The field of Extra2() and setExtra2().
        FieldExtra2 = 7,
        /// The field of Extra3() and setExtra3().
        FieldExtra3 = 8,
        /// The field of IsRegistered() and setIsRegistered().
        FieldIsRegistered = 9,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 10,
        /// The field of UpdateDate() and setUpdateDate().
        FieldUpdateDate = 11
    };

    /// An empty record: no field set, each reading as its type's empty value.
    WarrantyUsersDataRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The user's first name.
    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    ///@}
    ///@{
    /// The user's surname.
    QString Surname() const { return text(FieldSurname); }
    void setSurname(const QString &value) { SetValue(FieldSurname, value); }
    ///@}
    ///@{
    /// The user's e-mail address.
    QString Email() const { return text(FieldEmail); }
    void setEmail(const QString &value) { SetValue(FieldEmail, value); }
    ///@}
    ///@{
    /// The user's phone number.
    QString PhoneNumber() const { return text(FieldPhoneNumber); }
    void setPhoneNumber(const QString &value) { SetValue(FieldPhoneNumber, value); }
    ///@}
    ///@{
    /// The user's registration token.
    QString UserToken() const { return text(FieldUserToken); }
    void setUserToken(const QString &value) { SetValue(FieldUserToken, value); }
    ///@}
    ///@{
    /// Free texts: the library keeps the time stamp the application sets in Extra1 and does not
    /// use the others.
    QString Extra1() const { return text(FieldExtra1); }
    void setExtra1(const QString &value) { SetValue(FieldExtra1, value); }
    QString Extra2() const { return text(FieldExtra2); }
    void setExtra2(const QString &value) { SetValue(FieldExtra2, value); }
    QString Extra3() const { return text(FieldExtra3); }
    void setExtra3(const QString &value) { SetValue(FieldExtra3, value); }
    ///@}
    ///@{
    /// Whether the user is registered.
    bool IsRegistered() const { return flag(FieldIsRegistered); }
    void setIsRegistered(bool value) { SetValue(FieldIsRegistered, value); }
    ///@}
    ///@{
    /// When the row was added: stamped by Add with the local time unless set; invalid for a
    /// record not read or added.
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    ///@}
    ///@{
    /// When the row was last updated: stamped by Update with the local time unless set; invalid
    /// until the row's first update.
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
    ///@}
};

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATARECORD_H
