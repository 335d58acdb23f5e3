#include "ViewOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

ViewOptions::Outcome ViewOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the map in use of a ZelMiddleware store, live: its devices in a "
                       "table and its drawing."));
    // zelmap's own store by default, so that what zelmap fed is what the viewer shows.
    const QString zelmapData
        = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
              .filePath(QStringLiteral("zelmap"));
    const QCommandLineOption dataDirOption(QStringLiteral("data-dir"),
                                           QStringLiteral("Keep the database in DIR/ZelDb.db "
                                                          "(created when missing; default: "
                                                          "zelmap's, %1).")
                                               .arg(zelmapData),
                                           QStringLiteral("DIR"));
    const QCommandLineOption replayOption(QStringLiteral("replay"),
                                          QStringLiteral("Feed a recorded scan (JSON Lines) "
                                                         "through the discovery pipeline."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption intervalOption(QStringLiteral("interval"),
                                            QStringLiteral("Milliseconds between two records "
                                                           "fed (default: the library's "
                                                           "500)."),
                                            QStringLiteral("MS"));
    const QCommandLineOption discoverOption(QStringLiteral("discover"),
                                            QStringLiteral("Search the network (UPnP, host "
                                                           "names) and feed what answers; "
                                                           "sends traffic."));
    const QCommandLineOption interfaceOption(QStringLiteral("interface"),
                                             QStringLiteral("The interface to search on "
                                                            "(default: the default route's)."),
                                             QStringLiteral("IF"));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("Once the replay or discovery is over (at once without one), write the "
                       "window as PNG to FILE and quit."),
        QStringLiteral("FILE"));
    parser.addOptions({ dataDirOption, replayOption, intervalOption, discoverOption,
                        interfaceOption, screenshotOption });
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments)) {
        m_message = parser.errorText();
        return UsageError;
    }
    if (parser.isSet(helpOption)) {
        m_message = parser.helpText();
        return Help;
    }
    if (parser.isSet(versionOption)) {
        m_message = QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return Version;
    }
    if (!parser.positionalArguments().isEmpty()) {
        m_message = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return UsageError;
    }
    dataDir = parser.isSet(dataDirOption) ? parser.value(dataDirOption) : zelmapData;
    replayFile = parser.value(replayOption);
    discover = parser.isSet(discoverOption);
    interfaceName = parser.value(interfaceOption);
    screenshotPath = parser.value(screenshotOption);
    if (parser.isSet(intervalOption)) {
        bool ok = false;
        intervalMs = parser.value(intervalOption).toInt(&ok);
        if (!ok || intervalMs < 0) {
            m_message = QStringLiteral("--interval takes milliseconds >= 0, not ")
                + parser.value(intervalOption);
            return UsageError;
        }
    }
    if (discover && !replayFile.isEmpty()) {
        m_message = QStringLiteral("--replay and --discover exclude each other");
        return UsageError;
    }
    if (parser.isSet(intervalOption) && replayFile.isEmpty() && !discover) {
        m_message = QStringLiteral("--interval needs --replay or --discover");
        return UsageError;
    }
    if (parser.isSet(interfaceOption) && !discover) {
        m_message = QStringLiteral("--interface needs --discover");
        return UsageError;
    }
    return Run;
}
