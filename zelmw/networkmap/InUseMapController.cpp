#include <zelmw/networkmap/InUseMapController_p.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QMetaType>
#include <QtGlobal>

namespace zelmw {

namespace {

int configuredInUseMapId()
{
    const boost::shared_ptr<ConfigurationData> entry
        = ConfigDataFactory::getInstance()->getConfigData(INUSE_NETWORKMAP_ID);
    return entry ? entry->getValue().toInt() : 0;
}

} // namespace

InUseMapController::Implementation::Implementation(InUseMapController *q)
    : q(q)
{ }

InUseMapController::Implementation::~Implementation()
{
    UnitOfWork::forget(this);
}

void InUseMapController::Implementation::remember()
{
    UnitOfWork::remember(this, [this] {
        return [this, held = inUseMap, updating = updatingCpe] {
            inUseMap = held;
            updatingCpe = updating;
        };
    });
}

void InUseMapController::Implementation::forget(const NetworkMapSharedPtr &map)
{
    const ModelLock lock;
    if (map == inUseMap) {
        remember();
        inUseMap.reset();
    }
}

void InUseMapController::Implementation::change(const NetworkMapSharedPtr &map)
{
    if (!map) {
        qWarning("InUseMapController::changeInUseMap - inUseMap cannot be null");
        return;
    }
    UnitOfWork unit;
    if (map == inUseMap)
        return;
    remember();
    inUseMap = map;
    ConfigDataFactory::getInstance()->saveConfigData(INUSE_NETWORKMAP_ID,
                                                     QString::number(map->getId()));
    UnitOfWork::announce(q, [q = q, map] { emit q->inUseMapChanged(map); });
}

InUseMapController::InUseMapController(QObject *parent)
    : QObject(parent)
    , d(new Implementation(this))
{
    // Both spellings, so that queued receivers may name the type either way.
    qRegisterMetaType<NetworkMapSharedPtr>("zelmw::NetworkMapSharedPtr");
    qRegisterMetaType<NetworkMapSharedPtr>("NetworkMapSharedPtr");
}

InUseMapController::~InUseMapController() = default;

boost::shared_ptr<InUseMapController> InUseMapController::getInstance()
{
    static const boost::shared_ptr<InUseMapController> instance(new InUseMapController);
    return instance;
}

NetworkMapSharedPtr InUseMapController::getInUseNetworkMap()
{
    const ModelLock lock;
    if (d->inUseMap)
        return d->inUseMap;
    const int id = configuredInUseMapId();
    return id == 0 ? NetworkMapSharedPtr() : NetworkMapFactory::getInstance()->getNetworkMap(id);
}

NetworkMapSharedPtr InUseMapController::getInUseNetworkMap(const QString &mac,
                                                           const QString &serialNumber,
                                                           const QString &name)
{
    // One unit, so that finding or creating a gateway's map and making it the map in use
    // happen whole or not at all: a failed lookup never reads as "no such map".
    UnitOfWork unit;
    const boost::shared_ptr<NetworkMapFactory> maps = NetworkMapFactory::getInstance();
    NetworkMapSharedPtr map = maps->getNetworkMap(mac);
    if (!map)
        map = maps->addNetworkMap(mac, serialNumber, name);
    if (map != d->inUseMap && !d->updatingCpe)
        d->change(map);
    return unit.finish(map);
}

void InUseMapController::reset()
{
    const ModelLock lock;
    d->remember();
    d->inUseMap.reset();
}

void InUseMapController::updateCpeState(bool updating)
{
    const ModelLock lock;
    d->remember();
    d->updatingCpe = updating;
}

} // namespace zelmw
