// One discovery record applied to a fresh map. The input is lines of KEY NUL VALUE (a line
// without NUL is a key with an empty value), decoded as UTF-8.
#include "ModelReset.h"
#include "TestSupport.h"

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QCoreApplication>

using namespace zelmw;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    zeltest::isolateDataLocation();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QMap<QString, QString> record;
    const QByteArray content
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    for (const QByteArray &line : content.split('\n')) {
        const int separator = line.indexOf('\0');
        record.insert(QString::fromUtf8(line.left(separator)),
                      separator < 0 ? QString() : QString::fromUtf8(line.mid(separator + 1)));
    }
    // Every input meets the same empty store and caches.
    if (!zeltest::resetModel())
        __builtin_trap();
    const NetworkMapSharedPtr map = NetworkMapFactory::getInstance()->addNetworkMap(
        QStringLiteral("00:1A:2B:3C:4D:01"), QString(), QStringLiteral("Home"));
    if (!map)
        __builtin_trap();
    map->addDiscovery(record);
    // The client-list records name the devices the map has just learned.
    const QChar hash = QLatin1Char('#');
    map->updateMeshClientList(record.value(MESH_CLIENT_LIST).split(hash));
    map->updateWirelessClientList(record.value(WIRELESS_CLIENT_LIST).split(hash));
    return 0;
}
