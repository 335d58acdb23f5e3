#ifndef ZELDB_THREADCONNECTIONS_P_H
#define ZELDB_THREADCONNECTIONS_P_H

#include <QHash>
#include <QSqlError>
#include <QString>

namespace zeldb {

// The physical connections of the calling thread, one per (connection name, file). A
// QSqlDatabase may only be used on the thread that created it, and reopening one costs a
// schema re-read per statement (and, in WAL mode, a checkpoint with fsync on every last
// close), so each thread keeps its own open for as long as the thread lives and closes and
// removes them when it ends.
class ThreadConnections
{
public:
    static ThreadConnections &current();

    // The Qt connection name of the open connection to FILEPATH, opening it first when
    // needed; empty on failure, with the reason in ERROR.
    QString acquire(const QString &connectionName, const QString &filePath, QSqlError &error);
    // The Qt connection name of an open connection, or empty.
    QString find(const QString &connectionName, const QString &filePath) const;

    ~ThreadConnections();

private:
    ThreadConnections() = default;
    QString open(const QString &filePath, QSqlError &error);

    QHash<QString, QString> m_qtNames;
};

} // namespace zeldb

#endif // ZELDB_THREADCONNECTIONS_P_H
