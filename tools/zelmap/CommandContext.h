#ifndef ZELMAP_COMMANDCONTEXT_H
#define ZELMAP_COMMANDCONTEXT_H

#include <zelmw/networkmap/NetworkMap.h>

#include <QByteArray>
#include <QCommandLineParser>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What a command's handler works with (and, without a name, the tool before a command): its entry
// of the command table, its arguments, and the checked ways to answer. Every answer is flushed and
// checked, and each of these returns the exit status the handler passes on: 0 success, 1 failure, 2
// usage error.
class CommandContext
{
public:
    enum Status { Success = 0, Failure = 1, UsageError = 2 };

    CommandContext(const QString &name, const QString &synopsis, const QString &summary,
                   const QStringList &arguments);

    // Parses the command's arguments with PARSER, which holds the command's own options. A
    // status when the handler is done: its help printed, or a usage error reported.
    std::optional<int> parse(QCommandLineParser &parser, int minArgs, int maxArgs) const;
    // One line "zelmap COMMAND: MESSAGE" on stderr ("zelmap: MESSAGE" without a command);
    // returns STATUS.
    int fail(int status, const QString &message) const;

    // Into MAP the map whose id is the positional argument INDEX, else the map in use;
    // Success, or the status of the failure reported.
    int mapArgument(const QStringList &positional, int index,
                    zelmw::NetworkMapSharedPtr &map) const;
    // Into DEVICE the device whose id is ARGUMENT; Success, or the status of the failure
    // reported.
    int deviceArgument(const QString &argument,
                       boost::shared_ptr<zelmw::NetworkMapObject> &device) const;
    // 0 when no map is in use.
    static int inUseMapId();

    // BYTES to standard output, or to PATH, which is replaced whole (a temporary file beside
    // it, renamed into place) so a failure leaves the old file as it was.
    int write(const QByteArray &bytes, const QString &path = QString()) const;
    // TEXT in the locale's encoding.
    int print(const QString &text) const;
    int printJson(const QJsonDocument &document) const;

    // For a command that opens the store only when it needs it: openStore() runs OPENER.
    void setStoreOpener(std::function<int()> opener) { m_storeOpener = std::move(opener); }
    // Opens the store of a command that opens it when it needs it; Success, or the status of
    // the failure reported.
    int openStore() const { return m_storeOpener ? m_storeOpener() : int(Success); }

    // Flushes standard output; false, with the reason in ERROR, when anything written to it
    // since the start could not be.
    static bool flushStandardOutput(QString &error);

private:
    QString m_name;
    QString m_synopsis;
    QString m_summary;
    QStringList m_arguments;
    std::function<int()> m_storeOpener;
};

#endif // ZELMAP_COMMANDCONTEXT_H
