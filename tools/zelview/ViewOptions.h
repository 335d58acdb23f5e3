#ifndef ZELVIEW_VIEWOPTIONS_H
#define ZELVIEW_VIEWOPTIONS_H

#include <QString>
#include <QStringList>

// zelview's command line: where the store is, what to feed it at start, and where to write a
// screenshot of the window once that is done.
class ViewOptions
{
public:
    enum Outcome { Run, Help, Version, UsageError };

    // Reads ARGUMENTS (the program's name first). Help and Version leave their text in
    // message(), UsageError the reason.
    Outcome parse(const QStringList &arguments);
    QString message() const { return m_message; }

    // The store's folder: --data-dir, else zelmap's own.
    QString dataDir;
    QString replayFile;
    // The listener's interval for the replay; -1 keeps the library's.
    int intervalMs = -1;
    bool discover = false;
    QString interfaceName;
    QString screenshotPath;

private:
    QString m_message;
};

#endif // ZELVIEW_VIEWOPTIONS_H
