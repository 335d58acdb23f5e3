#ifndef ZELDB_WARRANTYREGISTRATIONSRECORD_H
#define ZELDB_WARRANTYREGISTRATIONSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

class ZELDB_EXPORT WarrantyRegistrationsRecord : public RecordBase
{
public:
    // Field numbers, for SetValue and Value: the column order of the table and the numbers
    // entities track their changes by. Stored files and callers rely on them, so a number is
    // never changed or reused; a new field goes at the end.
    enum FieldNumber {
        FieldId = 0,
        FieldWarrantyUserDataId = 1,
        FieldProductModelName = 2,
        FieldProductSerialNo = 3,
        FieldProductMacAddress = 4,
        FieldProductFwVersion = 5,
        FieldProductToken = 6,
        FieldExtra1 = 7,
        FieldExtra2 = 8,
        FieldExtra3 = 9,
        FieldIsRegistered = 10,
        FieldCreateDate = 11,
        FieldUpdateDate = 12
    };

    WarrantyRegistrationsRecord();

    static const TableSchema &schema();

    unsigned WarrantyUserDataId() const { return number(FieldWarrantyUserDataId); }
    void setWarrantyUserDataId(unsigned value) { SetValue(FieldWarrantyUserDataId, value); }
    QString ProductModelName() const { return text(FieldProductModelName); }
    void setProductModelName(const QString &value) { SetValue(FieldProductModelName, value); }
    QString ProductSerialNo() const { return text(FieldProductSerialNo); }
    void setProductSerialNo(const QString &value) { SetValue(FieldProductSerialNo, value); }
    QString ProductMacAddress() const { return text(FieldProductMacAddress); }
    void setProductMacAddress(const QString &value) { SetValue(FieldProductMacAddress, value); }
    QString ProductFwVersion() const { return text(FieldProductFwVersion); }
    void setProductFwVersion(const QString &value) { SetValue(FieldProductFwVersion, value); }
    QString ProductToken() const { return text(FieldProductToken); }
    void setProductToken(const QString &value) { SetValue(FieldProductToken, value); }
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

#endif // ZELDB_WARRANTYREGISTRATIONSRECORD_H
