#include <zeldb/WriterLock_p.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zeldb {

namespace {

std::mutex heldMutex;
// The lock files this process holds, open for as long as it lives: closing one would release
// its lock.
std::map<QString, int> held;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// What the holder wrote into the lock file: "PID (program)".
QString holderOf(int descriptor)
{
    char text[256] = {};
    const ssize_t length = pread(descriptor, text, sizeof text - 1, 0);
    const QString holder = QString::fromLocal8Bit(text, length > 0 ? int(length) : 0).trimmed();
    return holder.isEmpty() ? QStringLiteral("another process")
                            : QStringLiteral("process ") + holder;
}

} // namespace

bool WriterLock::acquire(const QString &filePath, QString &refusal)
{
    const std::lock_guard<std::mutex> lock(heldMutex);
    if (held.count(filePath))
        return true;
    const QString lockPath = filePath + QLatin1String(".writer");
    const QString fileName = QFileInfo(filePath).fileName();
    const QByteArray path = QFile::encodeName(lockPath);
    int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Another user's lock file (root wrote the store once) still locks when only readable.
    if (descriptor < 0 && errno == EACCES)
        descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        refusal
            = QStringLiteral("the database %1 cannot be locked for writing (%2: %3); not written")
                  .arg(fileName, lockPath, systemError());
        return false;
    }
    // flock, not fcntl: an fcntl lock is dropped when any descriptor of the file in the process
    // is closed, and this one must last until the process ends.
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        refusal = errno == EWOULDBLOCK
            ? QStringLiteral("the database %1 is being written by %2; not written")
                  .arg(fileName, holderOf(descriptor))
            : QStringLiteral("the database %1 cannot be locked for writing (%2: %3); not written")
                  .arg(fileName, lockPath, systemError());
        ::close(descriptor);
        return false;
    }
    // Shown to the processes refused while this one writes; the lock holds even without it.
    QFile record;
    if (record.open(descriptor, QIODevice::ReadWrite, QFileDevice::DontCloseHandle)
        && record.resize(0))
        record.write(QByteArray::number(qint64(getpid())) + " ("
                     + QByteArray(program_invocation_short_name) + ")\n");
    held.emplace(filePath, descriptor);
    return true;
}

} // namespace zeldb
