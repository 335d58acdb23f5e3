#ifndef ZELMW_CATALOGUE_MAPOBJECTFACTORY_H
#define ZELMW_CATALOGUE_MAPOBJECTFACTORY_H

#include <zelmw/catalogue/MapObject.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>

namespace zelmw {

/// The process-wide repository of device types: one shared MapObject per row asked for.
/// Types unknown to the catalogue are added on first sight by name lookups with creation.
/// Every operation holds the factory's own lock, so any thread may call it; writes are units
/// of work, stored whole or not at all. Not copyable: use getInstance().
class ZELMW_EXPORT MapObjectFactory
{
public:
    /// A shared device type.
    using MapObjectPtr = boost::shared_ptr<MapObject>;

    /// The process-wide instance, created on first use; never null.
    static boost::shared_ptr<MapObjectFactory> getInstance();
    /// Destroys the instance at process exit.
    ~MapObjectFactory();

    /// Cached, else loaded; null when there is no such row or the store cannot be read.
    MapObjectPtr getMapObject(int id);
    /// Exact, case-sensitive name: cached types first (lowest id), then the table; a name
    /// found nowhere is created when @p create. Null when not found and not created.
    MapObjectPtr getMapObject(const QString &name, bool create);
    /// Stores a new type, active and shown on the map, even when one of that name exists;
    /// null when the name is empty or the insert fails.
    MapObjectPtr createMapObject(const QString &name);
    /// Deletes the type's row and forgets it; its parameters and devices stay. Returns the
    /// type, or null when there is none or the store refuses the delete (the type then stays
    /// cached).
    MapObjectPtr deleteMapObject(int id);
    /// Whether a type with @p id is cached or stored; loads it into the cache when stored.
    bool exists(int id);
    /// Creates the type when it is unknown, so true unless that fails.
    bool exists(const QString &name);

    /// Empties the cache; the table is untouched, and types handed out stay valid.
    void clear();
    /// Whether the cache is empty (not the table).
    bool isEmpty() const;
    /// Cached types, not stored rows.
    int size() const;

protected:
    ///@{
    /// Reads the type with @p id or @p name from the table, with its parameters, without
    /// caching it; null when there is none.
    MapObjectPtr loadFlyweight(int id);
    MapObjectPtr loadFlyweight(const QString &name);
    ///@}
    /// Enters @p mapObject in the cache under its id, replacing one with that id; null is
    /// ignored. The caller holds the factory's lock.
    void addToRepository(const MapObjectPtr &mapObject);

private:
    MapObjectFactory();
    MapObjectFactory(const MapObjectFactory &) = delete;
    MapObjectFactory &operator=(const MapObjectFactory &) = delete;

    class Implementation;
    std::unique_ptr<Implementation> d;
};

} // namespace zelmw

#endif // ZELMW_CATALOGUE_MAPOBJECTFACTORY_H
