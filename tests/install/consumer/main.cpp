// An application of the installed library. "store" sets everything up through it; "check",
// run as a later process, finds what the first one stored.
#include <zelmw/zelmw.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <boost/make_shared.hpp>

using namespace zelmw;

namespace {

int failures = 0;

void expect(bool condition, const QString &what)
{
    if (!condition) {
        QTextStream(stderr) << "consumer: failed: " << what << '\n';
        ++failures;
    }
}

void checkVocabulary()
{
    expect(Utility::isValidMacAddress(QStringLiteral("00:1A:2b:3C:4d:5E")), "valid MAC");
    expect(!Utility::isValidIpAddress(QStringLiteral("1a2b3c4")), "IP dots are literal");
    expect(MacAddressBuilder::buildMacAddress(QStringLiteral("001122AABBCC"))
               == QLatin1String("00:11:22:AA:BB:CC"),
           "MAC builder");
    Composite tree;
    tree.addComponent(2, boost::make_shared<Leaf>());
    expect(tree.hasComponent(2) && tree.getChildren().size() == 1, "composite tree");
    ZelDbConnection connection;
    expect(connection.open() && QFileInfo::exists(connection.getDbPath()), "database opens");
    connection.close();
}

// Every key of the shipped zelconfig.xml with its default.
void checkConfiguration()
{
    DbInitializer::getInstance()->initialize(false);
    const QList<QPair<QString, QString>> defaults = {
        { INUSE_NETWORKMAP_ID, INUSE_NETWORKMAP_ID_DEFAULT },
        { VEL_CPE_DEFAULT_PASSWORDS, VEL_CPE_DEFAULT_PASSWORDS_DEFAULT },
        { DEFAULT_LEASE_TIME, DEFAULT_LEASE_TIME_DEFAULT },
        { LIVE_UPDATE_SERVER_URL, LIVE_UPDATE_SERVER_URL_DEFAULT },
        { AUTO_UPDATE_CHECK_INTERVAL, AUTO_UPDATE_CHECK_INTERVAL_DEFAULT },
        { WARRANTYREGISTRATION_SERVER_URL_KEY, WARRANTYREGISTRATION_SERVER_URL_KEY_DEFAULT },
        { WARRANTYREGISTRATION_CHECK_INTERVAL, WARRANTYREGISTRATION_CHECK_INTERVAL_DEFAULT },
        { WARRANTYREGISTRATION_DONT_REGISTER_DEVICEIDS,
          WARRANTYREGISTRATION_DONT_REGISTER_DEVICEIDS_DEFAULT },
        { ZEL_TROOBLESHOOTING_ENABLED, ZEL_TROOBLESHOOTING_ENABLED_DEFAULT },
        { ZEL_CONFIG_WARRANTY_DEFAULT_IS_DONTREGISTER,
          ZEL_CONFIG_WARRANTY_DEFAULT_IS_DONTREGISTER_DEFAULT },
        { NS_ARP_LISTEN_TIMEOUT, NS_ARP_LISTEN_TIMEOUT_DEFAULT },
        { NS_ARP_BROADCAST_TIMEOUT, NS_ARP_BROADCAST_TIMEOUT_DEFAULT },
        { NS_DHCP_LISTEN_TIMEOUT, NS_DHCP_LISTEN_TIMEOUT_DEFAULT },
        { NS_DHCP_BROADCAST_TIMEOUT, NS_DHCP_BROADCAST_TIMEOUT_DEFAULT },
        { NS_SSDP_LISTEN_TIMEOUT, NS_SSDP_LISTEN_TIMEOUT_DEFAULT },
        { NS_SSDP_BROADCAST_TIMEOUT, NS_SSDP_BROADCAST_TIMEOUT_DEFAULT },
        { RESOURCES_ROOT_DIR, RESOURCES_ROOT_DIR_DEFAULT },
        { DEFAULT_THEME_NAME, DEFAULT_THEME_NAME_DEFAULT },
        { LAYOUT_RESOURCES_FOLDER_NAME, LAYOUT_RESOURCES_FOLDER_NAME_DEFAULT },
        { IMAGE_RESOURCES_FOLDER_NAME, IMAGE_RESOURCES_FOLDER_NAME_DEFAULT },
        { STYLE_RESOURCES_FOLDER_NAME, STYLE_RESOURCES_FOLDER_NAME_DEFAULT },
        { DEFAULT_STYLESHEET_FILE, DEFAULT_STYLESHEET_FILE_DEFAULT },
        { SETUP_INI_FILE_NAME, SETUP_INI_FILE_NAME_DEFAULT },
        { SETUP_INI_FILE_LOOKUP_DIR, SETUP_INI_FILE_LOOKUP_DIR_DEFAULT },
        { SETUP_INI_FILE_BACKUP_DIR, SETUP_INI_FILE_BACKUP_DIR_DEFAULT },
    };
    const boost::shared_ptr<ConfigDataFactory> config = ConfigDataFactory::getInstance();
    for (const auto &entry : defaults) {
        const QString value = config->getConfigValue(entry.first);
        expect(!value.isNull() && value == entry.second, "configuration default " + entry.first);
    }
}

QString readId(const QString &file)
{
    QFile input(file);
    return input.open(QIODevice::ReadOnly) ? QString::fromLatin1(input.readAll()) : QString();
}

void writeId(const QString &file, int id)
{
    QFile output(file);
    expect(output.open(QIODevice::WriteOnly) && output.write(QByteArray::number(id)) > 0,
           "write " + file);
}

void storeDevice()
{
    const boost::shared_ptr<MapObject> gatewayType
        = MapObjectFactory::getInstance()->getMapObject(DEVICE_TYPE_GATEWAY, true);
    const boost::shared_ptr<NetworkMapObject> device
        = NetworkMapObjectFactory::getInstance()->addNetworkMapObject(
            gatewayType ? gatewayType->getId() : 0, 0, QStringLiteral("router"),
            QStringLiteral("00:11:22:33:44:55"), QStringLiteral("192.168.1.1"));
    expect(bool(device), "device created");
    if (!device)
        return;
    VelCpeFacade cpe(device);
    expect(cpe.saveAuthentication(true, QStringLiteral("admin"), QStringLiteral("s3cret")),
           "authentication saved");
    expect(device->saveDetail(GATEWAY_PARAM_FW_VERSION, QStringLiteral("1.2.3")), "detail saved");
    expect(cpe.getUserName() == QLatin1String("admin"), "user name read back");
    writeId(QStringLiteral("device.id"), device->getId());
}

void checkDevice()
{
    const boost::shared_ptr<NetworkMapObject> device
        = NetworkMapObjectFactory::getInstance()->getNetworkMapObject(readId("device.id").toInt());
    expect(bool(device), "device found after restart");
    if (!device)
        return;
    const VelCpeFacade cpe(device);
    expect(cpe.getUserName() == QLatin1String("admin"), "user name after restart");
    expect(cpe.getPassword() == QLatin1String("s3cret"), "password after restart");
    expect(cpe.isAuthenticated(), "authenticated after restart");
    expect(cpe.getFirmwareVersion() == QLatin1String("1.2.3"), "firmware after restart");
    expect(device->getTypeName() == DEVICE_TYPE_GATEWAY, "device type after restart");
}

void storeWarranty()
{
    WarrantyManager manager;
    const boost::shared_ptr<WarrantyUser> user = manager.addOrUpdateUser(
        QStringLiteral("Ay\u015fe"), QStringLiteral("ayse@example.org"), QStringLiteral("555"), 0);
    expect(user && user->getId() > 0, "warranty user stored");
    if (!user || user->getId() <= 0)
        return;
    expect(manager.addOrUpdateZel(QStringLiteral("1.0"), user), "own product stored");
    expect(manager.addOrUpdateCpe(QStringLiteral("CPE-1"), QStringLiteral("2.0"),
                                  QStringLiteral("SN-1"), QStringLiteral("00:11:22:33:44:55"),
                                  user),
           "CPE stored");
    // The application registered them.
    user->setIsRegistered(true);
    expect(user->save(), "user marked registered");
    for (const boost::shared_ptr<WarrantyDevice> &product :
         manager.getDeviceByUserId(user->getId())) {
        product->setIsRegistered(true);
        expect(product->save(), "product marked registered");
    }
    expect(manager.getUnregisteredDevices().isEmpty(), "all registered");
    // A new phone number must be registered again, with the user's products.
    manager.addOrUpdateUser(user->getName(), user->getMail(), QStringLiteral("556"), user->getId());
    writeId(QStringLiteral("user.id"), user->getId());
}

void checkWarranty()
{
    WarrantyManager manager;
    const QList<boost::shared_ptr<WarrantyUser>> users = manager.getUnregisteredUsers();
    expect(users.size() == 1 && users.first()->getId() == readId("user.id").toInt()
               && users.first()->getPhoneNumber() == QLatin1String("556")
               && users.first()->getName() == QStringLiteral("Ay\u015fe"),
           "changed user unregistered after restart");
    const QList<boost::shared_ptr<WarrantyDevice>> products = manager.getUnregisteredDevices();
    expect(products.size() == 2, "both products unregistered after restart");
    if (products.size() == 2) {
        expect(products.at(0)->getProductModelName() == QLatin1String("zel"), "own product first");
        expect(products.at(1)->getProductSerialNo() == QLatin1String("SN-1"), "CPE second");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString phase = app.arguments().value(1);
    if (phase != QLatin1String("store") && phase != QLatin1String("check")) {
        QTextStream(stderr) << "usage: consumer store|check\n";
        return 2;
    }
    checkVocabulary();
    checkConfiguration();
    if (phase == QLatin1String("store")) {
        storeDevice();
        storeWarranty();
    } else {
        checkDevice();
        checkWarranty();
    }
    return failures == 0 ? 0 : 1;
}
