#include "LogOutput.h"

#include "TerminalText.h"

#include <QLoggingCategory>
#include <QtGlobal>

#include <cstdio>

namespace {

void printEscaped(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // One write per line: lines from the discovery thread never interleave within a line.
    const QByteArray line
        = (qFormatLogMessage(type, context, TerminalText::escaped(message)) + QLatin1Char('\n'))
              .toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void LogOutput::install(bool verbose)
{
    if (!verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    qInstallMessageHandler(printEscaped);
}
