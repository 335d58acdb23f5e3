#ifndef ZELDB_WARRANTYREGISTRATIONSRECORD_H
#define ZELDB_WARRANTYREGISTRATIONSRECORD_H

#include <zeldb/RecordBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// A product registered, or to be registered, for warranty, owned by one user (a
/// WarrantyUsersDataRecord). A record is a plain value; see RecordBase for its threads and
/// copies.
class ZELDB_EXPORT WarrantyRegistrationsRecord : public RecordBase
{
public:
    /// Field numbers, for SetValue and Value: the column order of the table and the numbers
    /// entities track their changes by. Stored files and callers rely on them, so a number is
    /// never changed or reused; a new field goes at the end.
    enum FieldNumber {
        /// The id: Id() and setId().
        FieldId = 0,
        /// The field of WarrantyUserDataId() and setWarrantyUserDataId().
        FieldWarrantyUserDataId = 1,
        /// The field of ProductModelName() and setProductModelName().
        FieldProductModelName = 2,
        /// The field of ProductSerialNo() and setProductSerialNo().
        FieldProductSerialNo = 3,
        /// The field of ProductMacAddress() and setProductMacAddress().
        FieldProductMacAddress = 4,
        /// The field of ProductFwVersion() and setProductFwVersion().
        FieldProductFwVersion = 5,
        /// The field of ProductToken() and setProductToken().
        FieldProductToken = 6,
        /// The field of Extra1() and setExtra1().
        FieldExtra1 = 7,
        /// The field of Extra2() and setExtra2().
        FieldExtra2 = 8,
        /// The field of Extra3() and setExtra3().
        FieldExtra3 = 9,
        /// The field of IsRegistered() and setIsRegistered().
        FieldIsRegistered = 10,
        /// The field of CreateDate() and setCreateDate().
        FieldCreateDate = 11,
        /// The field of UpdateDate() and setUpdateDate().
        FieldUpdateDate = 12
    };

    /// An empty record: no field set, each reading as its type's empty value.
    WarrantyRegistrationsRecord();

    /// The table's columns, made on first use and the same for every record of the table. Any
    /// thread may call it.
    static const TableSchema &schema();

    ///@{
    /// @brief The id of the user (a WarrantyUsersDataRecord) the product belongs to.
    unsigned WarrantyUserDataId() const { return number(FieldWarrantyUserDataId); }
    void setWarrantyUserDataId(unsigned value) { SetValue(FieldWarrantyUserDataId, value); }
    ///@}
    ///@{
    /// The product's model name.
    QString ProductModelName() const { return text(FieldProductModelName); }
    void setProductModelName(const QString &value) { SetValue(FieldProductModelName, value); }
    ///@}
    ///@{
    /// The product's serial number.
    QString ProductSerialNo() const { return text(FieldProductSerialNo); }
    void setProductSerialNo(const QString &value) { SetValue(FieldProductSerialNo, value); }
    ///@}
    ///@{
    /// The product's MAC address.
    QString ProductMacAddress() const { return text(FieldProductMacAddress); }
    void setProductMacAddress(const QString &value) { SetValue(FieldProductMacAddress, value); }
    ///@}
    ///@{
    /// The product's firmware version.
    QString ProductFwVersion() const { return text(FieldProductFwVersion); }
    void setProductFwVersion(const QString &value) { SetValue(FieldProductFwVersion, value); }
    ///@}
    ///@{
    /// The product's registration token.
    QString ProductToken() const { return text(FieldProductToken); }
    void setProductToken(const QString &value) { SetValue(FieldProductToken, value); }
    ///@}
    ///@{
    /// Free texts the library does not use; it writes Extra1 empty whenever it saves a product.
    QString Extra1() const { return text(FieldExtra1); }
    void setExtra1(const QString &value) { SetValue(FieldExtra1, value); }
    QString Extra2() const { return text(FieldExtra2); }
    void setExtra2(const QString &value) { SetValue(FieldExtra2, value); }
    QString Extra3() const { return text(FieldExtra3); }
    void setExtra3(const QString &value) { SetValue(FieldExtra3, value); }
    ///@}
    ///@{
    /// Whether the product is registered.
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

#endif // ZELDB_WARRANTYREGISTRATIONSRECORD_H
