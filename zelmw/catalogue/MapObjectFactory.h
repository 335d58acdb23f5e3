#ifndef ZELMW_CATALOGUE_MAPOBJECTFACTORY_H
#define ZELMW_CATALOGUE_MAPOBJECTFACTORY_H

#include <zelmw/catalogue/MapObject.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>

#include <memory>

namespace zelmw {

// The process-wide repository of device types: one shared MapObject per row asked for.
// Types unknown to the catalogue are added on first sight by name lookups with creation.
class ZELMW_EXPORT MapObjectFactory
{
public:
    using MapObjectPtr = boost::shared_ptr<MapObject>;

    static boost::shared_ptr<MapObjectFactory> getInstance();
    ~MapObjectFactory();

    // Cached, else loaded; null when there is no such row.
    MapObjectPtr getMapObject(int id);
    // Exact, case-sensitive name: cached types first (lowest id), then the table; a name
    // found nowhere is created when CREATE.
    MapObjectPtr getMapObject(const QString &name, bool create);
    // Stores a new type even when one of that name exists.
    MapObjectPtr createMapObject(const QString &name);
    // Deletes the type's row and forgets it; its parameters and devices stay.
    MapObjectPtr deleteMapObject(int id);
    bool exists(int id);
    // Creates the type when it is unknown, so true unless that fails.
    bool exists(const QString &name);

    void clear();
    bool isEmpty() const;
    int size() const;

protected:
    MapObjectPtr loadFlyweight(int id);
    MapObjectPtr loadFlyweight(const QString &name);
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
