#ifndef ZELDB_WARRANTYUSERSDATARECORD_H
#define ZELDB_WARRANTYUSERSDATARECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT WarrantyUsersDataRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldName = 1,
        FieldSurname = 2,
        FieldEmail = 3,
        FieldPhoneNumber = 4,
        FieldUserToken = 5,
        FieldExtra1 = 6,
        FieldExtra2 = 7,
        FieldExtra3 = 8,
        FieldIsRegistered = 9,
        FieldCreateDate = 10,
        FieldUpdateDate = 11
    };

    WarrantyUsersDataRecord();

    static const TableSchema &schema();

    QString Name() const { return text(FieldName); }
    void setName(const QString &value) { SetValue(FieldName, value); }
    QString Surname() const { return text(FieldSurname); }
    void setSurname(const QString &value) { SetValue(FieldSurname, value); }
    QString Email() const { return text(FieldEmail); }
    void setEmail(const QString &value) { SetValue(FieldEmail, value); }
    QString PhoneNumber() const { return text(FieldPhoneNumber); }
    void setPhoneNumber(const QString &value) { SetValue(FieldPhoneNumber, value); }
    QString UserToken() const { return text(FieldUserToken); }
    void setUserToken(const QString &value) { SetValue(FieldUserToken, value); }
    QString Extra1() const { return text(FieldExtra1); }
    void setExtra1(const QString &value) { SetValue(FieldExtra1, value); }
    QString Extra2() const { return text(FieldExtra2); }
    void setExtra2(const QString &value) { SetValue(FieldExtra2, value); }
    QString Extra3() const { return text(FieldExtra3); }
    void setExtra3(const QString &value) { SetValue(FieldExtra3, value); }
    bool IsRegistered() const { return flag(FieldIsRegistered); }
    void setIsRegistered(bool value) { SetValue(FieldIsRegistered, value); }
    QDateTime CreateDate() const { return dateTime(FieldCreateDate); }
    void setCreateDate(const QDateTime &value) { SetValue(FieldCreateDate, value); }
    QDateTime UpdateDate() const { return dateTime(FieldUpdateDate); }
    void setUpdateDate(const QDateTime &value) { SetValue(FieldUpdateDate, value); }
};

} // namespace zeldb

#endif // ZELDB_WARRANTYUSERSDATARECORD_H
