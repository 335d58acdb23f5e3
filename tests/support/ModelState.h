#ifndef ZELTEST_MODELSTATE_H
#define ZELTEST_MODELSTATE_H

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include "RawStore.h"

namespace zeltest {

// The whole model as sorted lines of text, once as the store holds it and once as memory does:
// after any change, failed or not, the two must be equal. Dates are left out; they differ
// between runs.

// What a fresh process would load.
inline QStringList storeState()
{
    using namespace zelmw;
    RawStore store;
    QStringList state;
    state << "in use "
            + store.value("SELECT ConfigKeyValue FROM ConfigurationPairs WHERE "
                          "ConfigKeyName = ?",
                          { INUSE_NETWORKMAP_ID });
    state << store.column("SELECT 'device ' || Id || ' ' || NetworkMapId FROM NetworkMapObjects");
    state << store.column("SELECT Id || ' ' || Name FROM MapObjects ORDER BY Id");
    state << store.column("SELECT Id || ' ' || MapObjectId || ' ' || Name "
                          "FROM MapObjectParameters ORDER BY Id");
    state << store.column("SELECT ConfigKeyName || '=' || ConfigKeyValue FROM "
                          "ConfigurationPairs WHERE ConfigKeyName <> ? ORDER BY ConfigKeyName",
                          { DEVICE_PARAM_LAN_DISCONNECT_TIME });
    state << store.column("SELECT Id || ' ' || Serial || ' ' || Name || ' ' || MasterDeviceId || "
                          "' ' || LocalZelPcId FROM NetworkMaps ORDER BY Id");
    state << store.column("SELECT d.Id || ' ' || d.NetworkMapId || ' ' || t.Name || ' ' || "
                          "d.Name || ' ' || d.MacAddress || ' ' || d.IsConnected "
                          "FROM NetworkMapObjects d JOIN MapObjects t ON t.Id = d.MapObjectId "
                          "ORDER BY d.Id");
    state << store.column("SELECT x.NetworkMapObjectId || ' ' || p.Name || '=' || "
                          "CASE WHEN p.Name = ? THEN 'time' ELSE x.Value END "
                          "FROM NetworkMapObjectDetails x JOIN MapObjectParameters p ON p.Id = "
                          "x.MapObjectParameterId "
                          "JOIN NetworkMapObjects d ON d.Id = x.NetworkMapObjectId ORDER BY x.Id",
                          { DEVICE_PARAM_LAN_DISCONNECT_TIME });
    state.sort();
    return state;
}

// The same reached the way an application reaches it, for the rows the store lists, for ids
// past them and for the setting of the map in use, stored or not.
inline QStringList memoryState()
{
    using namespace zelmw;
    RawStore store;
    // The ids the store has handed out, and a few past them: no cache may serve a row that
    // was rolled back, whose id will be handed out again.
    auto probed = [&](const char *table) {
        QStringList ids;
        const int last
            = store.value("SELECT seq FROM sqlite_sequence WHERE name = ?", { table }).toInt();
        for (int id = 1; id <= last + 3; ++id)
            ids << QString::number(id);
        return ids;
    };
    QStringList state;
    const NetworkMapSharedPtr inUse = InUseMapController::getInstance()->getInUseNetworkMap();
    state << "in use " + (inUse ? QString::number(inUse->getId()) : QString());
    for (const QString &id : probed("NetworkMapObjects")) {
        if (const auto device
            = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(id.toInt()))
            state << QString("device %1 %2").arg(id).arg(device->getNetworkMapId());
    }
    for (const QString &id : probed("MapObjects")) {
        const auto type = MapObjectFactory::getInstance()->getMapObject(id.toInt());
        if (!type)
            continue;
        state << id + ' ' + type->getName();
        for (const auto &parameter : type->getParameterList())
            state << QString("%1 %2 %3").arg(parameter->getId()).arg(id, parameter->getName());
    }
    QStringList keys = store.column("SELECT ConfigKeyName FROM ConfigurationPairs WHERE "
                                    "ConfigKeyName <> ? ORDER BY ConfigKeyName",
                                    { DEVICE_PARAM_LAN_DISCONNECT_TIME });
    if (!keys.contains(INUSE_NETWORKMAP_ID))
        keys << INUSE_NETWORKMAP_ID;
    for (const QString &key : qAsConst(keys)) {
        const QString value = ConfigDataFactory::getInstance()->getConfigValue(key);
        if (!value.isNull())
            state << key + '=' + value;
    }
    for (const QString &id : probed("NetworkMaps")) {
        const NetworkMapSharedPtr map = NetworkMapFactory::getInstance()->getNetworkMap(id.toInt());
        if (!map)
            continue;
        state << QString("%1 %2 %3 %4 %5")
                     .arg(id, map->getSerial(), map->getName())
                     .arg(map->getMasterDeviceId())
                     .arg(map->getLocalZelPcId());
        for (const auto &device : map->getNwMapObjectList()) {
            state << QString("%1 %2 %3 %4 %5 %6")
                         .arg(device->getId())
                         .arg(id, device->getTypeName(), device->getName(), device->getMacAddress())
                         .arg(device->getIsConnected() ? 1 : 0);
            for (const auto &detail : device->getDetailList())
                state << QString("%1 %2=%3")
                             .arg(device->getId())
                             .arg(detail->getParamName(),
                                  detail->getParamName() == DEVICE_PARAM_LAN_DISCONNECT_TIME
                                      ? "time"
                                      : detail->getValue());
        }
    }
    state.sort();
    return state;
}

// The lines only one of the two states holds, for a failure message.
inline QString difference(const QStringList &memory, const QStringList &store)
{
    QStringList onlyMemory, onlyStore;
    for (const QString &line : memory)
        if (!store.contains(line))
            onlyMemory << line;
    for (const QString &line : store)
        if (!memory.contains(line))
            onlyStore << line;
    return "memory only [" + onlyMemory.join("; ") + "] store only [" + onlyStore.join("; ") + "]";
}

} // namespace zeltest

#endif // ZELTEST_MODELSTATE_H
