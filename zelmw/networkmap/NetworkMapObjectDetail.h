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

/// One detail of one device: the value of one parameter of the device's type, kept as text.
///
/// Setters change it in memory only; saveData() writes what changed. A device's details come
/// from NetworkMapObject (getDetail(), saveDetail()), which also stores them. Any thread may
/// call any member: every operation holds the model lock, so details may be read on one
/// thread while another changes them, and a writing one is one unit of work whose signal is
/// emitted once it has committed, on the calling thread. Not copyable, as a QObject; share it
/// through its shared_ptr.
class ZELMW_EXPORT NetworkMapObjectDetail : public QObject
{
    Q_OBJECT

public:
    /// A detail over the stored row RECORD, reading its parameter's name from the store.
    /// Throws std::invalid_argument for a null record.
    explicit NetworkMapObjectDetail(
        const boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> &record);
    /// For an owner that already knows the parameter's name from the catalogue: saves reading
    /// the parameter row once per detail. Throws std::invalid_argument for a null record.
    NetworkMapObjectDetail(const boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> &record,
                           const QString &paramName);
    /// Destroys the detail; its row stays.
    ~NetworkMapObjectDetail() override;

    /// The id of the detail's row.
    int getId() const;
    /// The id of the device the detail belongs to.
    int getNetworkMapObjectId() const;
    /// The id of the detail's parameter in the catalogue.
    int getMapObjectParameterId() const;
    /// The value, as text.
    QString getValue() const;
    /// The parameter's name. Resolved once, at construction; null when the parameter's row
    /// could not be read.
    QString getParamName() const;

    /// The device repository's object for this detail's device (NetworkMapObjectFactory):
    /// the object that holds this detail, unless that one was made with NetworkMapObject's
    /// own constructor. Null when the device's row is gone.
    boost::shared_ptr<NetworkMapObject> getNetworkMapObject() const;

    /// A value that differs, letter case included, is kept in memory until saveData(); emits
    /// valueChanged, and the device that holds the detail emits detailChanged.
    void setValue(const QString &value);
    /// Another device id, kept in memory until saveData(); emits nothing. The device object
    /// that holds the detail keeps it.
    void setNetworkMapObjectId(int id);
    /// Another parameter, in memory until saveData(); the parameter name is not resolved
    /// again.
    void setMapObjectParameterId(int id);

    /// Writes the changed fields; false when nothing changed or the update failed, in which
    /// case they stay marked.
    bool saveData();
    /// Deletes the detail's row; false when the store refused. The detail stays on its
    /// device: NetworkMapObject::deleteDetail() takes it off too.
    bool deleteData();

signals:
    /// setValue() changed the value: the parameter name NAME and the new value VAL.
    void valueChanged(const QString &name, const QString &val);

public:
    /// The private part, reached by the library's own classes through its private header;
    /// not for applications.
    class Implementation;

private:
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTDETAIL_H
