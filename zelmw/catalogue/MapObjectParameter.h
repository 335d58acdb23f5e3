#ifndef ZELMW_CATALOGUE_MAPOBJECTPARAMETER_H
#define ZELMW_CATALOGUE_MAPOBJECTPARAMETER_H

#include <zelmw/zelmw_export.h>

#include <QDateTime>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <zeldb/MapObjectParametersRecord.h>

namespace zelmw {

class MapObject;

// One parameter name of a device type: the name under which devices of that type keep a
// detail. Setters write the record; saveData() stores the whole record.
class ZELMW_EXPORT MapObjectParameter
{
public:
    // Throws std::invalid_argument for a null record.
    explicit MapObjectParameter(const boost::shared_ptr<zeldb::MapObjectParametersRecord> &record);

    int getId() const;
    int getMapObjectId() const;
    void setMapObjectId(int id);
    QString getName() const;
    void setName(const QString &name);
    bool getIsActive() const;
    void setIsActive(bool isActive);
    QDateTime getCreateDate() const;
    void setCreateDate(const QDateTime &createDate);

    bool saveData();
    bool deleteData();

    boost::shared_ptr<MapObject> getMapObject() const;

private:
    boost::shared_ptr<zeldb::MapObjectParametersRecord> m_record;
};

} // namespace zelmw

#endif // ZELMW_CATALOGUE_MAPOBJECTPARAMETER_H
