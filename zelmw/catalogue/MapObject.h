#ifndef ZELMW_CATALOGUE_MAPOBJECT_H
#define ZELMW_CATALOGUE_MAPOBJECT_H

#include <zelmw/catalogue/MapObjectParameter.h>
#include <zelmw/zelmw_export.h>

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <zeldb/MapObjectsRecord.h>

#include <mutex>

namespace zelmw {

// One device type of the catalogue and its parameter names. Parameters are loaded once, at
// construction; those created or deleted through this object keep registry and table in
// step. Devices on several threads create parameters through one shared instance, so every
// operation holds the object's own lock.
class ZELMW_EXPORT MapObject
{
public:
    using ParameterPtr = boost::shared_ptr<MapObjectParameter>;

    // Throws std::invalid_argument for a null record.
    explicit MapObject(const boost::shared_ptr<zeldb::MapObjectsRecord> &record);
    // A copy shares the record and the parameter objects but keeps its own list of changed
    // fields: it saves only the changes made through it, plus those pending when copied.
    MapObject(const MapObject &other);
    MapObject &operator=(const MapObject &other);
    ~MapObject();

    int getId() const;
    QString getName() const;
    bool getIsActive() const;
    bool getShowOnMap() const;
    QDateTime getCreateDate() const;

    void setName(const QString &name);
    void setIsActive(bool isActive);
    void setShowOnMap(bool showOnMap);
    // Written to the record only; no save stores it.
    void setCreateDate(const QDateTime &createDate);

    ParameterPtr getParameter(int id) const;
    // The parameter of that name; when there is none, a new one if CREATE, else null.
    ParameterPtr getParameter(const QString &name, bool create);
    // In ascending id.
    QList<ParameterPtr> getParameterList() const;
    bool hasParameter(const QString &name) const;
    bool hasParameter(int id) const;
    // Stores a new parameter; null when the name is taken, empty, or the insert fails.
    ParameterPtr createParameter(const QString &name);
    QList<ParameterPtr> createParameters(const QList<QString> &names);
    bool deleteParameter(const QString &name);

    // Writes the changed name and flags; false when nothing changed or the update failed.
    bool saveData();
    // Deletes the type's row; its parameter rows stay.
    bool deleteData();

private:
    void setRecord(const boost::shared_ptr<zeldb::MapObjectsRecord> &record);
    void loadParams();
    void addParameter(const ParameterPtr &parameter);

    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_CATALOGUE_MAPOBJECT_H
