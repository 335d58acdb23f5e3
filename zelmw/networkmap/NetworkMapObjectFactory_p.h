#ifndef ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_P_H
#define ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_P_H

#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/vocabulary/EntityCache_p.h>

#include <QVector>
#include <boost/shared_ptr.hpp>
#include <zeldb/NetworkMapObjectDetailsRecord.h>
#include <zeldb/NetworkMapObjectsRecord.h>

namespace zelmw {

// The device repository's cache, and what maps and their builder ask of it. Guarded by the
// model lock.
class NetworkMapObjectFactory::Implementation
{
public:
    // The process's repository.
    static Implementation &instance() { return *getInstance()->d; }

    // The objects for rows just read, in ascending id, given the detail rows of them all
    // grouped by device in the same order: for each the one already handed out, else a new
    // one, entered.
    QVector<NetworkMapObjectPtr>
    adoptRecords(const QVector<boost::shared_ptr<zeldb::NetworkMapObjectsRecord>> &records,
                 const QVector<boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord>> &details);
    // A device deleted through its map leaves the repository too.
    void forget(int id) { cache.remove(id); }

    EntityCache<NetworkMapObject> cache;
};

} // namespace zelmw

#endif // ZELMW_NETWORKMAP_NETWORKMAPOBJECTFACTORY_P_H
