#ifndef ZELMW_CATALOGUE_MAPOBJECTPARAMETER_H
#define ZELMW_CATALOGUE_MAPOBJECTPARAMETER_H

#include <zelmw/zelmw_export.h>

#include <QDateTime>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/MapObjectParametersRecord.h>

namespace zelmw {

class MapObject;

/// One parameter name of a device type: the name under which devices of that type keep a
/// detail. Setters write the record; saveData() stores the whole record. Copies share the
/// record. Takes no lock: one parameter object is shared by every copy of its MapObject, so
/// change it from one thread at a time; create and delete parameters through MapObject.
class ZELMW_EXPORT MapObjectParameter
{
public:
    /// A parameter over @p record; throws std::invalid_argument for a null record.
    explicit MapObjectParameter(const boost::shared_ptr<zeldb::MapObjectParametersRecord> &record);

    /// The row's id.
    int getId() const;
    ///@{
    /// The id of the device type (MapObject) the parameter belongs to.
    int getMapObjectId() const;
    void setMapObjectId(int id);
    ///@}
    ///@{
    /// The parameter's name: the name of the detail it stands for.
    QString getName() const;
    void setName(const QString &name);
    ///@}
    ///@{
    /// Whether the parameter is in use; new parameters are.
    bool getIsActive() const;
    void setIsActive(bool isActive);
    ///@}
    ///@{
    /// When the parameter was created.
    QDateTime getCreateDate() const;
    void setCreateDate(const QDateTime &createDate);
    ///@}

    /// Writes the whole record to its row, as one unit of work; false when there is no such
    /// row or the update fails. The owning MapObject's name index is not updated.
    bool saveData();
    /// Deletes the row, as one unit of work; false when there is no such row or the delete
    /// fails. The owning MapObject keeps listing the parameter: use
    /// MapObject::deleteParameter() instead.
    bool deleteData();

    /// The device type the parameter belongs to, from MapObjectFactory; null when there is no
    /// such type.
    boost::shared_ptr<MapObject> getMapObject() const;

private:
    boost::shared_ptr<zeldb::MapObjectParametersRecord> m_record;
};

} // namespace zelmw

#endif // ZELMW_CATALOGUE_MAPOBJECTPARAMETER_H
