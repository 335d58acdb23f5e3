// A program built only against the installed package. "store" saves a configuration entry
// and a device detail; "check", run as the next process, reads both back.
#include <zelmw/zelmw.h>

#include <QCoreApplication>
#include <QTextStream>

using namespace zelmw;

namespace {

const QString KEY = QStringLiteral("consumer.key");
const QString MAC = QStringLiteral("00:11:22:33:44:55");

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
                                                            QString::number(device->getId()));
}

bool check()
{
    const boost::shared_ptr<ConfigDataFactory> config = ConfigDataFactory::getInstance();
    const boost::shared_ptr<NetworkMapObject> device
        = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(
            config->getConfigValue(QStringLiteral("consumer.device")).toInt());
    return config->getConfigValue(KEY) == QLatin1String("stored") && device
        && device->getDetailValue(GATEWAY_PARAM_FW_VERSION, QString()) == QLatin1String("1.2.3");
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
