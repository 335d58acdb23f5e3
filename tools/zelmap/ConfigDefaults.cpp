#include "ConfigDefaults.h"

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/persistence/DbConfigXmlReader.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool ConfigDefaults::seed(QString &error)
{
    const QStringList candidates { QDir(QCoreApplication::applicationDirPath())
                                       .filePath(QStringLiteral(ZELMAP_CONFIG_RELATIVE)),
                                   QStringLiteral(ZELMAP_SOURCE_CONFIG) };
    for (const QString &path : candidates) {
        if (!QFileInfo::exists(path))
            continue;
        zelmw::DbConfigXmlReader reader(path);
        QList<zelmw::ConfigXmlProperty> properties;
        if (!reader.parseConfigProperties(properties)) {
            error = path + QStringLiteral(": ") + reader.getLastError();
            return false;
        }
        const boost::shared_ptr<zelmw::ConfigDataFactory> factory
            = zelmw::ConfigDataFactory::getInstance();
        QMap<QString, QString> stored;
        if (!factory->getConfigEntries(stored)) {
            error = QStringLiteral("cannot read the configuration");
            return false;
        }
        for (const zelmw::ConfigXmlProperty &property : qAsConst(properties)) {
            if (!stored.contains(property.key)
                && !factory->addConfigData(property.key, property.val)) {
                error = QStringLiteral("cannot store the default of ") + property.key;
                return false;
            }
        }
        return true;
    }
    return true;
}
