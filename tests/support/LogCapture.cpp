#include "LogCapture.h"

#include <mutex>

namespace zeltest {

namespace {

std::mutex captureMutex;
LogCapture *activeCapture = nullptr;

} // namespace

LogCapture::LogCapture(const QString &category)
    : m_category(category)
{
    std::lock_guard<std::mutex> lock(captureMutex);
    activeCapture = this;
    m_previous = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    std::lock_guard<std::mutex> lock(captureMutex);
    activeCapture = nullptr;
}

QList<LogCapture::Line> LogCapture::lines() const
{
    std::lock_guard<std::mutex> lock(captureMutex);
    return m_lines;
}

QStringList LogCapture::messages() const
{
    QStringList result;
    for (const Line &line : lines())
        result << line.message;
    return result;
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    QtMessageHandler previous = nullptr;
    {
        std::lock_guard<std::mutex> lock(captureMutex);
        if (!activeCapture)
            return;
        if (activeCapture->m_category == QLatin1String(context.category)) {
            activeCapture->m_lines.append({ type, message });
            return;
        }
        previous = activeCapture->m_previous;
    }
    if (previous)
        previous(type, context, message);
}

} // namespace zeltest
