// A program built only against the installed package. "store" saves a configuration entry
// and a device detail, and feeds a small scan through the discovery pipeline from a scanner
// thread; "check", run as the next process, finds all of it again.
#include <zelmw/zelmw.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#include <functional>
#include <thread>

using namespace zelmw;

namespace {

const QString KEY = QStringLiteral("consumer.key");
const QString MAC = QStringLiteral("00:11:22:33:44:55");
const QString ROUTER = QStringLiteral("00:11:22:33:44:01");
const QString OTHER_ROUTER = QStringLiteral("00:11:22:33:44:02");

QMap<QString, QString> router(const QString &mac)
{
    return { { NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY }, { DEVICE_PARAM_LAN_MACADDRESS, mac },
             { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.1") },
             { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE } };
}

// Records from a scanner thread; the map's signals arrive queued on this thread. Then the
// application switches to another gateway's map and a router record switches back.
bool scan()
{
    DiscoveryHandler handler;
    handler.setListenerInterval(0);
    QElapsedTimer timer;
    timer.start();
    const auto waitFor = [&](const std::function<bool()> &done) {
        while (!done() && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };
    std::thread(&DiscoveryHandler::addDiscovery, &handler, router(ROUTER)).join();
    if (!waitFor([&] { return handler.processedDiscoveryCount() == 1; }))
        return false;
    const NetworkMapSharedPtr home = InUseMapController::getInstance()->getInUseNetworkMap();
    bool createdHere = false;
    QObject::connect(home.get(), &NetworkMap::nwMapObjCreated, QCoreApplication::instance(),
                     [&] { createdHere = QThread::currentThread() == QCoreApplication::instance()->thread(); });
    const QMap<QString, QString> pc { { NS_DEVICE_TYPE, DEVICE_TYPE_PC },
                                      { DEVICE_PARAM_LAN_MACADDRESS, MAC },
                                      { DEVICE_PARAM_LAN_IPADDRESS, QStringLiteral("192.168.1.2") } };
    std::thread(&DiscoveryHandler::addDiscovery, &handler, pc).join();
    if (!waitFor([&] { return createdHere; }))
        return false;
    InUseMapController::getInstance()->getInUseNetworkMap(OTHER_ROUTER, QString(), QStringLiteral("Other"));
    handler.addDiscovery(router(ROUTER));
    waitFor([&] { return handler.processedDiscoveryCount() == 3; });
    handler.stopQueueListener();
    return InUseMapController::getInstance()->getInUseNetworkMap() == home;
}

bool store()
{
    const boost::shared_ptr<MapObject> gateway
        = MapObjectFactory::getInstance()->getMapObject(DEVICE_TYPE_GATEWAY, true);
    const boost::shared_ptr<NetworkMapObject> device = !gateway ? nullptr
        : NetworkMapObjectFactory::getInstance()->addNetworkMapObject(
            gateway->getId(), 0, QStringLiteral("router"), MAC, QStringLiteral("192.168.1.1"));
    return ConfigDataFactory::getInstance()->saveConfigData(KEY, QStringLiteral("stored"))
        && device && device->saveDetail(GATEWAY_PARAM_FW_VERSION, QStringLiteral("1.2.3"))
        && ConfigDataFactory::getInstance()->saveConfigData(QStringLiteral("consumer.device"),
                                                            QString::number(device->getId()))
        && scan();
}

bool check()
{
    const boost::shared_ptr<ConfigDataFactory> config = ConfigDataFactory::getInstance();
    const boost::shared_ptr<NetworkMapObject> device
        = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(
            config->getConfigValue(QStringLiteral("consumer.device")).toInt());
    const NetworkMapSharedPtr home = InUseMapController::getInstance()->getInUseNetworkMap();
    return config->getConfigValue(KEY) == QLatin1String("stored") && device
        && device->getDetailValue(GATEWAY_PARAM_FW_VERSION, QString()) == QLatin1String("1.2.3")
        && home && home->count() == 2 && home->getMasterDevice()->getMacAddress() == ROUTER
        && home->getNwMapObject(MAC) && NetworkMapFactory::getInstance()->exists(OTHER_ROUTER);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString phase = app.arguments().value(1);
    DbInitializer::getInstance()->initialize(false);
    const bool ok = phase == QLatin1String("store") ? store()
        : phase == QLatin1String("check")           ? check()
                                                    : false;
    if (!ok)
        QTextStream(stderr) << "consumer " << phase << " failed\n";
    return ok ? 0 : 1;
}
