// A program built only against the installed package. "store" saves a configuration entry
// and feeds a router's record through the discovery pipeline; "check", run as the next process,
// finds all of it again.
#include <zelmw/zelmw.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#ifdef ZEL_EXPECTED_QT_MAJOR
static_assert(QT_VERSION_MAJOR == ZEL_EXPECTED_QT_MAJOR, "the package's Qt is not the one built");
#endif

using namespace zelmw;

namespace {

const QString KEY = QStringLiteral("consumer.key");
const QString ROUTER = QStringLiteral("00:11:22:33:44:01");

bool store()
{
    const QMap<QString, QString> router { { NS_DEVICE_TYPE, DEVICE_TYPE_GATEWAY },
                                          { DEVICE_PARAM_LAN_MACADDRESS, ROUTER },
                                          { DEVICE_PARAM_LAN_IPADDRESS,
                                            QStringLiteral("192.168.1.1") },
                                          { GATEWAY_PARAM_ISROUTER, BOOL_TRUE_VALUE } };
    DiscoveryHandler handler;
    handler.setListenerInterval(0);
    handler.addDiscovery(router);
    QElapsedTimer timer;
    timer.start();
    while (handler.processedDiscoveryCount() < 1 && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    handler.stopQueueListener();
    return handler.processedDiscoveryCount() == 1
        && ConfigDataFactory::getInstance()->saveConfigData(KEY, QStringLiteral("stored"));
}

bool check()
{
    const NetworkMapSharedPtr home = InUseMapController::getInstance()->getInUseNetworkMap();
    const NetworkMap::NetworkMapObjectPtr gateway = home ? home->getMasterDevice() : nullptr;
    return ConfigDataFactory::getInstance()->getConfigValue(KEY) == QLatin1String("stored")
        && gateway && gateway->getMacAddress() == ROUTER;
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
