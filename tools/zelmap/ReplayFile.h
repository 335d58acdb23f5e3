#ifndef ZELMAP_REPLAYFILE_H
#define ZELMAP_REPLAYFILE_H

#include <QList>
#include <QMap>
#include <QString>

// A recorded scan in JSON Lines: every non-blank line is either a discovery record (an object
// whose values are all strings) or the ping results for the map in use ({"connection":
// {"IP": true|false, ...}}). The whole file is checked before anything is used, a record
// over the pipeline's bounds included, so a bad line never leaves half a scan applied.
class ReplayFile
{
public:
    struct Step
    {
        bool isConnection = false;
        QMap<QString, QString> record;
        QMap<QString, bool> connection;
    };

    // Reads and validates PATH ("-" is standard input). False with error() set on the first
    // unreadable or malformed line.
    bool read(const QString &path);
    // Validates in-memory lines; NAME is used in error messages.
    bool parse(const QString &name, const QByteArray &content);

    QString error() const { return m_error; }
    QList<Step> steps() const { return m_steps; }

private:
    bool fail(const QString &name, int line, const QString &reason);

    QList<Step> m_steps;
    QString m_error;
};

#endif // ZELMAP_REPLAYFILE_H
