#include <zelmw/networkmap/InUseMapController.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QMetaType>
#include <QtGlobal>

namespace zelmw {

InUseMapController::InUseMapController(QObject *parent)
    : QObject(parent)
    , m_updatingCpe(false)
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
    if (m_inUseMap)
        return m_inUseMap;
    const int id = getInUseMapConfigVal();
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
    if (map != m_inUseMap && !isUpdatingCpe())
        changeInUseNetworkMap(map);
    return unit.finish(map);
}

void InUseMapController::reset()
{
    const ModelLock lock;
    remember();
    m_inUseMap.reset();
}

void InUseMapController::updateCpeState(bool updating)
{
    const ModelLock lock;
    remember();
    m_updatingCpe = updating;
}

void InUseMapController::remember()
{
    UnitOfWork::remember(this, [this] {
        return [this, inUseMap = m_inUseMap, updatingCpe = m_updatingCpe] {
            m_inUseMap = inUseMap;
            m_updatingCpe = updatingCpe;
        };
    });
}

bool InUseMapController::isUpdatingCpe() const
{
    return m_updatingCpe;
}

void InUseMapController::changeInUseNetworkMap(const NetworkMapSharedPtr &map)
{
    if (!map) {
        qWarning("InUseMapController::changeInUseMap - inUseMap cannot be null");
        return;
    }
    UnitOfWork unit;
    if (map != m_inUseMap) {
        remember();
        m_inUseMap = map;
        updateInUseMapConfigVal(map->getId());
        UnitOfWork::announce(this, [this, map] { emit inUseMapChanged(map); });
    }
}

void InUseMapController::forgetNetworkMap(const NetworkMapSharedPtr &map)
{
    const ModelLock lock;
    if (map == m_inUseMap) {
        remember();
        m_inUseMap.reset();
    }
}

int InUseMapController::getInUseMapConfigVal() const
{
    const boost::shared_ptr<ConfigurationData> entry
        = ConfigDataFactory::getInstance()->getConfigData(INUSE_NETWORKMAP_ID);
    return entry ? entry->getValue().toInt() : 0;
}

bool InUseMapController::updateInUseMapConfigVal(int id)
{
    return ConfigDataFactory::getInstance()->saveConfigData(INUSE_NETWORKMAP_ID,
                                                            QString::number(id));
}

} // namespace zelmw
