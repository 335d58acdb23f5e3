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

/// One device type of the catalogue and its parameter names. Parameters are loaded once, at
/// construction; those created or deleted through this object keep registry and table in
/// step. Devices on several threads create parameters through one shared instance, so every
/// operation holds the object's own lock and any thread may call it; every write is one unit
/// of work, stored whole or not at all, with memory following the store.
class ZELMW_EXPORT MapObject
{
public:
    /// A shared parameter of this type.
    using ParameterPtr = boost::shared_ptr<MapObjectParameter>;

    /// The type over @p record, with its parameters read from the table (none when the store
    /// cannot be read); throws std::invalid_argument for a null record.
    explicit MapObject(const boost::shared_ptr<zeldb::MapObjectsRecord> &record);
    ///@{
    /// A copy shares the record and the parameter objects but keeps its own list of changed
    /// fields and its own parameter registry: it saves only the changes made through it, plus
    /// those pending when copied, and lists only the parameters it created or was copied with.
    MapObject(const MapObject &other);
    MapObject &operator=(const MapObject &other);
    ///@}
    /// Destroys this object; the record and parameters live on in its copies.
    ~MapObject();

    /// The row's id.
    int getId() const;
    /// The type's name, for example DEVICE_TYPE_GATEWAY.
    QString getName() const;
    /// Whether the type is in use; new types are.
    bool getIsActive() const;
    /// Whether devices of this type are shown on the map; new types are.
    bool getShowOnMap() const;
    /// When the type was created.
    QDateTime getCreateDate() const;

    ///@{
    /// Changes the name or a flag in memory, marking the field changed when it differs;
    /// saveData() stores it.
    void setName(const QString &name);
    void setIsActive(bool isActive);
    void setShowOnMap(bool showOnMap);
    ///@}
    /// Written to the record only; no save stores it.
    void setCreateDate(const QDateTime &createDate);

    /// The parameter with @p id; null when this type has none.
    ParameterPtr getParameter(int id) const;
    /// The parameter of that name; when there is none, a new one if @p create (null when
    /// creating fails), else null. The name is compared case-sensitively.
    ParameterPtr getParameter(const QString &name, bool create);
    /// Every parameter, in ascending id.
    QList<ParameterPtr> getParameterList() const;
    ///@{
    /// Whether this type has a parameter of that name or id.
    bool hasParameter(const QString &name) const;
    bool hasParameter(int id) const;
    ///@}
    /// Stores a new parameter; null when the name is taken, empty, or the insert fails.
    ParameterPtr createParameter(const QString &name);
    /// Stores a parameter for each of @p names that is neither taken nor empty, as one unit
    /// of work, and returns those created; empty when the unit fails, and then none is stored.
    QList<ParameterPtr> createParameters(const QList<QString> &names);
    /// Deletes the parameter's row and forgets it; false when the delete fails. A name this
    /// type does not have is created and deleted at once, so it answers true.
    bool deleteParameter(const QString &name);

    /// Writes the changed name and flags; false when nothing changed or the update failed.
    bool saveData();
    /// Deletes the type's row; its parameter rows stay. False when there is no such row or
    /// the delete fails. The type stays in MapObjectFactory's cache: delete through the
    /// factory.
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
