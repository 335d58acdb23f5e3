#include <zeldb/OwnerOnlyFile_p.h>

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeldb {

void OwnerOnlyFile::create(const QString &path)
{
    // Without O_EXCL, open follows a dangling symbolic link and creates its target with this
    // mode; an existing file is left as it is.
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_RDONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (descriptor >= 0)
        ::close(descriptor);
}

bool OwnerOnlyFile::restrict(const QString &path, QString &reason)
{
    for (const char *suffix : { "", "-wal", "-shm" }) {
        const QString file = path + QLatin1String(suffix);
        const QByteArray name = QFile::encodeName(file);
        struct stat status;
        if (::stat(name.constData(), &status) != 0)
            continue; // not made yet, or the open that follows says why not
        if (status.st_uid != geteuid()) {
            reason = QStringLiteral("%1 belongs to another user (uid %2); not used")
                         .arg(file)
                         .arg(status.st_uid);
            return false;
        }
        if ((status.st_mode & 077) != 0 && ::chmod(name.constData(), status.st_mode & 0700) != 0) {
            reason = QStringLiteral("%1 cannot be made readable by its owner only (%2); not used")
                         .arg(file, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
}

} // namespace zeldb
