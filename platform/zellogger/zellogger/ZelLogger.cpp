#include <zellogger/ZelLogger.h>

#include <QByteArray>
#include <QLoggingCategory>

#include <map>
#include <memory>
#include <mutex>

// QLoggingCategory keeps a pointer to its name, so each name lives as long as its category.
struct ZelLogger::Categories
{
    struct Entry
    {
        explicit Entry(const QString &name)
            : name(name.toUtf8())
            , category(this->name.constData())
        { }
        const QByteArray name;
        const QLoggingCategory category;
    };

    std::mutex mutex;
    std::map<QString, std::unique_ptr<Entry>> byName;
};

ZelLogger::ZelLogger()
    : m_categories(new Categories)
{ }

ZelLogger::~ZelLogger() = default;

boost::shared_ptr<ZelLogger> ZelLogger::getInstance()
{
    static const boost::shared_ptr<ZelLogger> instance(new ZelLogger);
    return instance;
}

const QLoggingCategory &ZelLogger::category(const QString &loggerName) const
{
    std::lock_guard<std::mutex> lock(m_categories->mutex);
    std::unique_ptr<Categories::Entry> &entry = m_categories->byName[loggerName];
    if (!entry)
        entry = std::make_unique<Categories::Entry>(loggerName);
    return entry->category;
}

void ZelLogger::log(const QString &message, int level, const QString &loggerName) const
{
    const QLoggingCategory &cat = category(loggerName);
    if (level >= ERROR_LEVEL)
        qCCritical(cat).noquote() << message;
    else if (level >= WARNING_LEVEL)
        qCWarning(cat).noquote() << message;
    else
        qCInfo(cat).noquote() << message;
}
