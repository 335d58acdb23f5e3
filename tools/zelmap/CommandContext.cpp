#include "CommandContext.h"

#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// A write cut short (a file that reaches its size limit) says why only when tried again.
bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = device.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

} // namespace

CommandContext::CommandContext(const QString &name, const QString &synopsis, const QString &summary,
                               const QStringList &arguments)
    : m_name(name)
    , m_synopsis(synopsis)
    , m_summary(summary)
    , m_arguments(arguments)
{ }

std::optional<int> CommandContext::parse(QCommandLineParser &parser, int minArgs, int maxArgs) const
{
    const QString usage = QStringLiteral("zelmap ") + m_name + QLatin1Char(' ') + m_synopsis;
    parser.setApplicationDescription(usage + QLatin1Char('\n') + m_summary);
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") },
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    QStringList arguments = m_arguments;
    arguments.prepend(QStringLiteral("zelmap ") + m_name);
    if (!parser.parse(arguments))
        return fail(UsageError, parser.errorText());
    if (parser.isSet(help)) // Qt names the program by its path; name the command instead.
        return print(
            parser.helpText().replace(QCoreApplication::arguments().first(), arguments.first()));
    const int count = parser.positionalArguments().size();
    if (count < minArgs || count > maxArgs)
        return fail(UsageError, QStringLiteral("expected: ") + usage);
    return std::nullopt;
}

int CommandContext::fail(int status, const QString &message) const
{
    const QString who
        = m_name.isEmpty() ? QStringLiteral("zelmap") : QStringLiteral("zelmap ") + m_name;
    std::fprintf(stderr, "%s: %s\n", qPrintable(who), qPrintable(message));
    return status;
}

int CommandContext::inUseMapId()
{
    const zelmw::NetworkMapSharedPtr map
        = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
    return map ? map->getId() : 0;
}

int CommandContext::mapArgument(const QStringList &positional, int index,
                                zelmw::NetworkMapSharedPtr &map) const
{
    if (positional.size() <= index) {
        map = zelmw::InUseMapController::getInstance()->getInUseNetworkMap();
        return map ? Success : fail(Failure, QStringLiteral("no map is in use"));
    }
    bool ok = false;
    const int id = positional.at(index).toInt(&ok);
    if (!ok || id <= 0)
        return fail(UsageError, QStringLiteral("not a map id: ") + positional.at(index));
    map = zelmw::NetworkMapFactory::getInstance()->getNetworkMap(id);
    return map ? Success : fail(Failure, QStringLiteral("no map %1").arg(id));
}

int CommandContext::deviceArgument(const QString &argument,
                                   boost::shared_ptr<zelmw::NetworkMapObject> &device) const
{
    bool ok = false;
    const int id = argument.toInt(&ok);
    if (!ok || id <= 0)
        return fail(UsageError, QStringLiteral("not a device id: ") + argument);
    device = zelmw::NetworkMapObjectFactory::getInstance()->getNetworkMapObject(id);
    return device ? Success : fail(Failure, QStringLiteral("no device %1").arg(id));
}

bool CommandContext::flushStandardOutput(QString &error)
{
    if (std::fflush(stdout) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Lines written straight to the stream (a replay's changes) leave only this mark.
    if (std::ferror(stdout)) {
        error = QStringLiteral("an earlier write failed");
        return false;
    }
    return true;
}

int CommandContext::write(const QByteArray &bytes, const QString &path) const
{
    if (path.isEmpty()) {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
            || std::fflush(stdout) != 0)
            return fail(Failure,
                        QStringLiteral("cannot write standard output: ")
                            + QString::fromLocal8Bit(std::strerror(errno)));
        return Success;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, bytes)
        || !file.commit())
        return fail(Failure,
                    QStringLiteral("cannot write ") + path + QStringLiteral(": ")
                        + file.errorString());
    return Success;
}

int CommandContext::print(const QString &text) const
{
    return write(text.toLocal8Bit());
}

int CommandContext::printJson(const QJsonDocument &document) const
{
    // "[]" rather than Qt's "[" and "]" on two lines.
    const bool empty = document.isArray() && document.array().isEmpty();
    return write(empty ? QByteArrayLiteral("[]\n") : document.toJson(QJsonDocument::Indented));
}
