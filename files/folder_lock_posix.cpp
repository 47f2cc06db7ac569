#include "folder_lock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FolderLock::Opening FolderLock::open(const QString& path, QByteArray& identity, qintptr& handle) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Opening::Missing : Opening::Refused;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        ::close(fd);
        return Opening::Refused;
    }
    // Device and inode name the folder, whatever path led to it.
    identity = QByteArray::number(quint64(status.st_dev), 16) + ':' +
               QByteArray::number(quint64(status.st_ino), 16);
    handle = fd;
    return Opening::Opened;
}

FolderLock::Attempt FolderLock::tryLock(qintptr handle) {
    // A lock on the open folder itself, which every user who may read the folder can take;
    // the system ends it with the process that holds it.
    if (::flock(int(handle), LOCK_EX | LOCK_NB) == 0)
        return Attempt::Locked;
    return errno == EWOULDBLOCK || errno == EINTR ? Attempt::HeldByAnother : Attempt::Failed;
}

void FolderLock::release(qintptr handle) {
    ::close(int(handle)); // ends the lock
}
