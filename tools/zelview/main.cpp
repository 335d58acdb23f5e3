#include "LogOutput.h"
#include "MainWindow.h"
#include "StoreSetup.h"
#include "TerminalText.h"
#include "ViewOptions.h"

#include <QApplication>

#include <cstdio>

namespace {

// One line "zelview: MESSAGE" on stderr, escaped: it may quote a recording or a device.
int fail(int status, const QString &message)
{
    std::fprintf(stderr, "zelview: %s\n", qPrintable(TerminalText::escaped(message)));
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZelMiddleware"));
    QCoreApplication::setApplicationName(QStringLiteral("zelview"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELVIEW_VERSION));

    ViewOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case ViewOptions::Help:
    case ViewOptions::Version:
        std::fputs(qPrintable(options.message()), stdout);
        return 0;
    case ViewOptions::UsageError:
        return fail(2, options.message());
    case ViewOptions::Run:
        break;
    }
    LogOutput::install(false);
    QString error;
    if (!StoreSetup::open(options.dataDir, StoreSetup::Use::Read, error))
        return fail(1, error);

    // A screenshot is of the default window, and leaves the user's settings alone.
    const bool screenshot = !options.screenshotPath.isEmpty();
    MainWindow window(!screenshot);
    int runStatus = 0;
    QObject::connect(&window, &MainWindow::runFinished, &app,
                     [&runStatus](int status, const QString &message) {
                         runStatus = status;
                         if (!message.isEmpty())
                             fail(status, message);
                     });
    if (!options.replayFile.isEmpty()
        && !window.startReplay(options.replayFile, options.intervalMs, error))
        return fail(1, error);
    if (options.discover
        && !window.startDiscovery(options.interfaceName, options.intervalMs, error))
        return fail(1, error);
    if (screenshot) {
        QObject::connect(&window, &MainWindow::screenshotDone, &app,
                         [&runStatus](int status, const QString &message) {
                             if (status != 0)
                                 fail(status, message);
                             QCoreApplication::exit(status != 0 ? status : runStatus);
                         });
        window.screenshotWhenSettled(options.screenshotPath);
    }
    window.show();
    return QApplication::exec();
}
