#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_H

#include <zelmw/zelmw_export.h>

#include <QObject>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <zeldb/NetworkMapObjectDetailsRecord.h>

namespace zelmw {

class NetworkMapObject;

// One detail of one device: the value of one parameter of the device's type, kept as text.
// Setters change it in memory only; saveData() writes what changed. Every operation holds the
// model lock, so details may be read on one thread while another changes them. Not copyable,
// as a QObject; share it through its shared_ptr.
class ZELMW_EXPORT NetworkMapObjectDetail : public QObject
{
    Q_OBJECT

public:
    // Throws std::invalid_argument for a null record.
    explicit NetworkMapObjectDetail(
        const boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> &record);
    // For an owner that already knows the parameter's name from the catalogue: saves reading
    // the parameter row once per detail. Throws std::invalid_argument for a null record.
    NetworkMapObjectDetail(const boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> &record,
                           const QString &paramName);
    ~NetworkMapObjectDetail() override;

    int getId() const;
    int getNetworkMapObjectId() const;
    int getMapObjectParameterId() const;
    QString getValue() const;
    // Resolved once, at construction; null when the parameter's row could not be read.
    QString getParamName() const;

    // The device repository's object for this detail's device, which in general is not the
    // object that owns this detail.
    boost::shared_ptr<NetworkMapObject> getNetworkMapObject() const;

    // Emits valueChanged when the value differs, letter case included.
    void setValue(const QString &value);
    void setNetworkMapObjectId(int id);
    // The parameter name is not resolved again.
    void setMapObjectParameterId(int id);

    // Writes the changed fields; false when nothing changed or the update failed, in which
    // case they stay marked.
    bool saveData();
    bool deleteData();

signals:
    void valueChanged(const QString &name, const QString &val);

public:
    // The private part, reached by the library's own classes through its private header.
    class Implementation;

private:
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_H
