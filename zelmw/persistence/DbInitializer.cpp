#include <zelmw/persistence/DbInitializer.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/persistence/DbConfigXmlReader.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/ZelLogger.h>

namespace zelmw {

const QString DbInitializer::ZEL_CONFIG_XML = QStringLiteral("zelconfig.xml");

DbInitializer::DbInitializer()
    : m_initialized(false)
{ }

DbInitializer::~DbInitializer() = default;

boost::shared_ptr<DbInitializer> DbInitializer::getInstance()
{
    static const boost::shared_ptr<DbInitializer> instance(new DbInitializer);
    return instance;
}

void DbInitializer::initialize(bool force)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (force)
            m_initialized = false;
        if (!m_initialized) {
            initConfigData();
            m_initialized = true;
        }
    }
    // Outside the lock: a receiver may call initialize() again.
    emit initFinished();
}

bool DbInitializer::isInitialized() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_initialized;
}

void DbInitializer::initConfigData()
{
    const boost::shared_ptr<ConfigDataFactory> factory = ConfigDataFactory::getInstance();
    const QList<ConfigXmlProperty> properties = initConfigPropertyList();
    for (const ConfigXmlProperty &property : properties) {
        if (!factory->isKeyExists(property.key) || property.overwrite)
            factory->saveConfigData(property.key, property.val);
    }
}

QList<ConfigXmlProperty> DbInitializer::initConfigPropertyList()
{
    DbConfigXmlReader reader(ZEL_CONFIG_XML, nullptr);
    QList<ConfigXmlProperty> properties;
    if (!reader.parseConfigProperties(properties)) {
        ZelLogger::getInstance()->log(
            QStringLiteral("DbConfigXmlReader - cannot parse %1, error: %2")
                .arg(ZEL_CONFIG_XML, reader.getLastError()),
            ZelLogger::ERROR_LEVEL, LOGGER_NAME);
    }
    return properties;
}

} // namespace zelmw
