#include "StoreCommands.h"

#include "CommandContext.h"
#include "TablePrinter.h"

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/ZelDbConnection.h>
#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyManager.h>
#include <zelmw/warranty/WarrantyUser.h>

#include <QJsonArray>
#include <QJsonObject>

int StoreCommands::config(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("ACTION"),
                                 QStringLiteral("list, get KEY or set KEY VALUE."));
    if (const std::optional<int> done = context.parse(parser, 1, 3))
        return *done;
    const QStringList args = parser.positionalArguments();
    const QString action = args.first();
    const boost::shared_ptr<zelmw::ConfigDataFactory> factory
        = zelmw::ConfigDataFactory::getInstance();
    if (action == QLatin1String("list") && args.size() == 1) {
        QMap<QString, QString> entries;
        if (!factory->getConfigEntries(entries))
            return context.fail(CommandContext::Failure,
                                QStringLiteral("cannot read the configuration"));
        TablePrinter table({ QStringLiteral("KEY"), QStringLiteral("VALUE") });
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            table.addRow({ it.key(), it.value() });
        return context.print(table.text());
    }
    if (action == QLatin1String("get") && args.size() == 2) {
        if (!factory->isKeyExists(args.at(1)))
            return context.fail(CommandContext::Failure, QStringLiteral("no key ") + args.at(1));
        return context.print(factory->getConfigValue(args.at(1)) + QLatin1Char('\n'));
    }
    if (action == QLatin1String("set") && args.size() == 3) {
        // The library answers false also for a value that is stored already.
        const bool unchanged
            = factory->isKeyExists(args.at(1)) && factory->getConfigValue(args.at(1)) == args.at(2);
        if (!unchanged && !factory->saveConfigData(args.at(1), args.at(2)))
            return context.fail(CommandContext::Failure,
                                QStringLiteral("cannot store ") + args.at(1));
        return CommandContext::Success;
    }
    return context.fail(CommandContext::UsageError,
                        QStringLiteral("expected: list, get KEY or set KEY VALUE"));
}

int StoreCommands::warranty(const CommandContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print JSON."));
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("list"),
                                 QStringLiteral("List what is still to register."));
    if (const std::optional<int> done = context.parse(parser, 1, 1))
        return *done;
    if (parser.positionalArguments().first() != QLatin1String("list"))
        return context.fail(CommandContext::UsageError, QStringLiteral("expected: list [--json]"));
    zelmw::WarrantyManager manager;
    const QList<boost::shared_ptr<zelmw::WarrantyUser>> users = manager.getUnregisteredUsers();
    const QList<boost::shared_ptr<zelmw::WarrantyDevice>> devices
        = manager.getUnregisteredDevices();
    QJsonArray userArray;
    QJsonArray productArray;
    TablePrinter userTable(
        { QStringLiteral("USER"), QStringLiteral("NAME"), QStringLiteral("MAIL") });
    TablePrinter productTable({ QStringLiteral("PRODUCT"), QStringLiteral("MODEL"),
                                QStringLiteral("FIRMWARE"), QStringLiteral("SERIAL"),
                                QStringLiteral("MAC"), QStringLiteral("USER") });
    for (const auto &user : users) {
        const QString name = user->getName() + QLatin1Char(' ') + user->getSurName();
        userArray.append(QJsonObject { { QStringLiteral("id"), user->getId() },
                                       { QStringLiteral("name"), user->getName() },
                                       { QStringLiteral("surname"), user->getSurName() },
                                       { QStringLiteral("mail"), user->getMail() } });
        userTable.addRow({ QString::number(user->getId()), name, user->getMail() });
    }
    for (const auto &device : devices) {
        productArray.append(
            QJsonObject { { QStringLiteral("id"), device->getId() },
                          { QStringLiteral("model"), device->getProductModelName() },
                          { QStringLiteral("firmware"), device->getProductFwVersion() },
                          { QStringLiteral("serial"), device->getProductSerialNo() },
                          { QStringLiteral("mac"), device->getProductMacAddress() },
                          { QStringLiteral("userId"), device->getWarrantyUserDataId() } });
        productTable.addRow({ QString::number(device->getId()), device->getProductModelName(),
                              device->getProductFwVersion(), device->getProductSerialNo(),
                              device->getProductMacAddress(),
                              QString::number(device->getWarrantyUserDataId()) });
    }
    if (parser.isSet(jsonOption))
        return context.printJson(
            QJsonDocument(QJsonObject { { QStringLiteral("users"), userArray },
                                        { QStringLiteral("products"), productArray } }));
    return context.print(userTable.text() + QLatin1Char('\n') + productTable.text());
}

int StoreCommands::merge(const CommandContext &context)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("KEEP"), QStringLiteral("The device kept."));
    parser.addPositionalArgument(QStringLiteral("GONE"),
                                 QStringLiteral("The device merged into it and deleted."));
    if (const std::optional<int> done = context.parse(parser, 2, 2))
        return *done;
    int ids[2] = {};
    for (int n = 0; n < 2; ++n) {
        bool ok = false;
        const QString argument = parser.positionalArguments().at(n);
        ids[n] = argument.toInt(&ok);
        if (!ok || ids[n] <= 0)
            return context.fail(CommandContext::UsageError,
                                QStringLiteral("not a device id: ") + argument);
    }
    if (ids[0] == ids[1])
        return context.fail(CommandContext::UsageError,
                            QStringLiteral("a device cannot be merged with itself"));
    const boost::shared_ptr<zelmw::NetworkMapObject> kept
        = zelmw::NetworkMapObjectFactory::getInstance()->getNetworkMapObject(ids[0]);
    if (!kept)
        return context.fail(CommandContext::Failure, QStringLiteral("no device %1").arg(ids[0]));
    const zelmw::NetworkMapSharedPtr map
        = zelmw::NetworkMapFactory::getInstance()->getNetworkMap(kept->getNetworkMapId());
    if (!map || !map->hasNwMapObject(ids[1]))
        return context.fail(
            CommandContext::Failure,
            QStringLiteral("no device %1 on the map of device %2").arg(ids[1]).arg(ids[0]));
    if (!map->mergeDevices(ids[0], ids[1]))
        return context.fail(
            CommandContext::Failure,
            QStringLiteral("cannot merge device %1 into device %2").arg(ids[1]).arg(ids[0]));
    return CommandContext::Success;
}

int StoreCommands::maintenance(const CommandContext &context)
{
    QCommandLineParser parser;
    const QCommandLineOption vacuum(
        QStringLiteral("vacuum"), QStringLiteral("Then rewrite the file without its free pages."));
    parser.addOption(vacuum);
    if (const std::optional<int> done = context.parse(parser, 0, 0))
        return *done;
    zelmw::ZelDbConnection store;
    if (!store.open())
        return context.fail(CommandContext::Failure, QStringLiteral("cannot open the store"));
    const int removed = store.removeUnreachableRows();
    if (removed < 0)
        return context.fail(CommandContext::Failure,
                            QStringLiteral("cannot remove the unreachable rows"));
    if (parser.isSet(vacuum) && !store.compact())
        return context.fail(CommandContext::Failure, QStringLiteral("cannot compact the store"));
    return context.print(
        QStringLiteral("removed %1 unreachable rows%2\n")
            .arg(removed)
            .arg(parser.isSet(vacuum) ? QStringLiteral(", compacted") : QString()));
}
