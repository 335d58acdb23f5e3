#include "ProgressReporter.h"

#include <QByteArray>
#include <QString>

#include <unistd.h>

namespace {
const qint64 PLAIN_LINE_PERIOD_MS = 2000;
const qint64 BAR_PERIOD_MS = 100;
const int BAR_WIDTH = 30;
} // namespace

ProgressReporter::ProgressReporter(qint64 total, FILE *stream)
    : m_total(total)
    , m_stream(stream)
    , m_terminal(isatty(fileno(stream)) == 1)
    , m_lastLineAt(0)
{
    m_clock.start();
}

void ProgressReporter::update(qint64 done)
{
    if (m_clock.elapsed() - m_lastLineAt < (m_terminal ? BAR_PERIOD_MS : PLAIN_LINE_PERIOD_MS))
        return;
    draw(done, false);
}

void ProgressReporter::clearLine()
{
    if (m_terminal) {
        std::fputs("\r\x1b[K", m_stream);
        std::fflush(m_stream);
    }
}

void ProgressReporter::finish(qint64 done)
{
    draw(done, true);
}

void ProgressReporter::draw(qint64 done, bool last)
{
    const double seconds = qMax<qint64>(m_clock.elapsed(), 1) / 1000.0;
    const double rate = done / seconds;
    const QString left = rate > 0
        ? QStringLiteral("%1 s left").arg((m_total - done) / rate, 0, 'f', 0)
        : QStringLiteral("-- s left");
    const QString counts = QStringLiteral("%1/%2 records, %3/s, %4")
                               .arg(done)
                               .arg(m_total)
                               .arg(rate, 0, 'f', 1)
                               .arg(left);
    QString line;
    if (m_terminal) {
        const int filled = m_total > 0 ? int(BAR_WIDTH * done / m_total) : BAR_WIDTH;
        line = QStringLiteral("\r[") + QString(filled, QLatin1Char('#'))
            + QString(BAR_WIDTH - filled, QLatin1Char('.')) + QStringLiteral("] ") + counts
            + QStringLiteral("\x1b[K");
        if (last)
            line += QLatin1Char('\n');
    } else {
        line = QStringLiteral("progress: ") + counts + QLatin1Char('\n');
    }
    m_lastLineAt = m_clock.elapsed();
    std::fputs(line.toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
}
