#include "folder_lock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString FolderLock::lockFolder() {
    static const QString folder = [] {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        return runtime.isEmpty() ? QDir::tempPath() : runtime;
    }();
    return folder;
}

QString FolderLock::folderKey(const QString& canonicalPath) {
    return canonicalPath;
}

FolderLock::Attempt FolderLock::tryLock(const QString& lockFile) {
    // The file stays; what counts is the system's lock on it, which ends with the process that
    // holds it, so a killed copy never leaves the folder locked.
    if (m_handle < 0)
        m_handle =
            ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_handle < 0)
        return Attempt::Failed;
    if (::flock(int(m_handle), LOCK_EX | LOCK_NB) == 0)
        return Attempt::Locked;
    if (errno == EWOULDBLOCK || errno == EINTR)
        return Attempt::HeldByAnother;
    unlock();
    return Attempt::Failed;
}

void FolderLock::unlock() {
    if (m_handle >= 0)
        ::close(int(m_handle)); // ends the lock
    m_handle = -1;
}
