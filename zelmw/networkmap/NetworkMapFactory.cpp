#include <zelmw/networkmap/NetworkMapFactory_p.h>

#include <zelmw/discovery/DefaultNetworkMapBuilder_p.h>
#include <zelmw/discovery/NetworkMapDirector_p.h>
#include <zelmw/networkmap/InUseMapController_p.h>
#include <zelmw/networkmap/NetworkMapDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/StoreTransaction_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/persistence/ZelDbConnection.h>

#include <QtGlobal>

namespace zelmw {

namespace {

const QString SERIAL_PREFIX = QStringLiteral("@MAC:");

NetworkMapSharedPtr buildMap(const NetworkMapDataHandler::RecordPtr &record)
{
    // One transaction for all the map's reads: each statement outside one would be a
    // transaction of its own, which checks the file anew and locks and unlocks it.
    StoreTransaction transaction;
    DefaultNetworkMapBuilder builder;
    NetworkMapDirector(&builder).construct(record, nullptr);
    // Committed, not rolled back: inside a caller's transaction a rollback would undo it.
    transaction.commit();
    return builder.getResult();
}

} // namespace

NetworkMapFactory::NetworkMapFactory()
    : d(new Implementation)
{ }

NetworkMapFactory::NetworkMapFactory(const NetworkMapFactory &other)
    : d(new Implementation)
{
    const ModelLock lock;
    *d = *other.d;
}

NetworkMapFactory &NetworkMapFactory::operator=(const NetworkMapFactory &other)
{
    const ModelLock lock;
    *d = *other.d;
    return *this;
}

NetworkMapFactory::~NetworkMapFactory() = default;

boost::shared_ptr<NetworkMapFactory> NetworkMapFactory::getInstance()
{
    static const boost::shared_ptr<NetworkMapFactory> instance(new NetworkMapFactory);
    return instance;
}

NetworkMapSharedPtr NetworkMapFactory::getNetworkMap(int id)
{
    const ModelLock lock;
    return d->cache.getOrLoad(id, [&] { return loadFlyweight(id); });
}

NetworkMapSharedPtr NetworkMapFactory::getNetworkMap(const QString &mac)
{
    const ModelLock lock;
    const QString serial = SERIAL_PREFIX + mac;
    if (const NetworkMapSharedPtr cached
        = d->cache.findFirst([&](const NetworkMap &map) { return map.getSerial() == serial; }))
        return cached;
    const NetworkMapSharedPtr loaded = loadFlyweight(serial);
    addToRepository(loaded);
    return loaded;
}

NetworkMapSharedPtr NetworkMapFactory::addNetworkMap(const QString &mac, const QString &,
                                                     const QString &name)
{
    UnitOfWork unit;
    return unit.finish(addNetworkMap(mac.isEmpty() ? QString() : SERIAL_PREFIX + mac, name));
}

NetworkMapSharedPtr NetworkMapFactory::addNetworkMap(const QString &serial, const QString &name)
{
    if (serial.isEmpty())
        qWarning("NetworkMapFactory::addNetworkMap - serial cannot be empty");
    const NetworkMapDataHandler::RecordPtr record = NetworkMapDataHandler().addRecord(serial, name);
    if (!record)
        return NetworkMapSharedPtr();
    const NetworkMapSharedPtr map(new NetworkMap(record));
    addToRepository(map);
    return map;
}

NetworkMapSharedPtr NetworkMapFactory::deleteNetworkMap(int id)
{
    UnitOfWork unit;
    const NetworkMapSharedPtr map = getNetworkMap(id);
    // A map whose row could not be deleted stays cached: forgetting it would let the next
    // lookup build a second instance of the same stored map.
    if (map && map->deleteData()) {
        d->cache.remove(id);
        InUseMapController::Implementation::instance().forget(map);
    }
    // The map is answered also when its row stayed, as before; a unit that failed kept it.
    unit.commit();
    return map;
}

bool NetworkMapFactory::getNetworkMapIds(QList<int> &ids)
{
    const ModelLock lock;
    return NetworkMapDataHandler().getIds(ids);
}

bool NetworkMapFactory::exists(int id)
{
    return bool(getNetworkMap(id));
}

bool NetworkMapFactory::exists(const QString &mac)
{
    return bool(getNetworkMap(mac));
}

bool NetworkMapFactory::isEmpty() const
{
    const ModelLock lock;
    return d->cache.isEmpty();
}

int NetworkMapFactory::size() const
{
    const ModelLock lock;
    return d->cache.size();
}

void NetworkMapFactory::clear()
{
    const ModelLock lock;
    d->cache.clear();
}

NetworkMapSharedPtr NetworkMapFactory::loadFlyweight(int id)
{
    return buildMap(NetworkMapDataHandler().getRecord(id));
}

NetworkMapSharedPtr NetworkMapFactory::loadFlyweight(const QString &serial)
{
    const NetworkMapDataHandler::RecordPtr record
        = NetworkMapDataHandler().getRecordBySerial(serial);
    // A row whose map is cached (under another serial since) is never built a second time.
    if (record && d->cache.contains(int(record->Id())))
        return d->cache.get(int(record->Id()));
    return buildMap(record);
}

void NetworkMapFactory::addToRepository(const NetworkMapSharedPtr &map)
{
    d->cache.add(map);
}

} // namespace zelmw
