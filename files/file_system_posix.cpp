#include "file_system.h"
#include "folder_lock.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

KovexError refused(const QString& path, const char* why) {
    return KovexError(KovexError::PermissionDenied,
                      QDir::toNativeSeparators(path) + QStringLiteral(" (%1)").arg(why));
}

} // namespace

namespace file_system {

KovexError lastError(const QString& path) {
    const int code = errno;
    const QString shown = QDir::toNativeSeparators(path);
    if (code == ENOENT || code == ENOTDIR) {
        // Where a link leads into a folder that is not there, that folder is missing.
        const QFileInfo file(path);
        const QFileInfo real(file.isSymLink() ? file.symLinkTarget() : path);
        return KovexError(real.absoluteDir().exists() ? KovexError::FileNotFound
                                                      : KovexError::PathNotFound,
                          shown);
    }
    if (code == ENAMETOOLONG)
        return KovexError(KovexError::BadFileName, shown + QStringLiteral(" (Name zu lang)"));
    static const QHash<int, KovexError::Number> numbers{
        {ENOSPC, KovexError::DiskFull},         {EDQUOT, KovexError::DiskFull},
        {EACCES, KovexError::PermissionDenied}, {EPERM, KovexError::PermissionDenied},
        {EROFS, KovexError::PermissionDenied},  {EIO, KovexError::DeviceIoError},
        {ENOMEM, KovexError::OutOfMemory}};
    return KovexError(numbers.value(code, KovexError::PathFileAccessError), shown);
}

void refuseForeignLinks(const QString& path) {
    const auto namesIn = [](const QString& whole) {
        return QDir::cleanPath(whole).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    };
    // Folder by folder from the root; a link's target takes the place of the way so far.
    QStringList names = namesIn(QDir::current().absoluteFilePath(path));
    QString reached;
    for (qsizetype i = 0, links = 0; i < names.size(); ++i) {
        const QString here = reached + QLatin1Char('/') + names[i];
        struct stat link {};
        if (::lstat(QFile::encodeName(here).constData(), &link) != 0)
            return; // missing: the open says so
        reached = here;
        if (!S_ISLNK(link.st_mode))
            continue;
        if (link.st_uid != ::geteuid() && link.st_uid != 0)
            throw refused(here, "Verknüpfung eines anderen Benutzers");
        if (++links > 40)
            return; // a loop: the open says so
        names = namesIn(QFileInfo(here).symLinkTarget()) + names.mid(i + 1);
        reached.clear();
        i = -1;
    }
}

void refuseSharedPlaces(const QString& path) {
    struct stat file {};
    if (::geteuid() != 0)
        return;
    if (::lstat(QFile::encodeName(path).constData(), &file) == 0 && file.st_uid != 0)
        throw refused(path, "gehört einem anderen Benutzer");
    // The real folders on the way, from the file's up; the missing ones are yet to be made.
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir() && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    // As the system names it, links resolved; where Qt cannot name it so (no text in the system's
    // encoding), as given.
    if (const QString real = QFileInfo(folder).canonicalFilePath(); QFileInfo(real).isDir())
        folder = real;
    for (; ::stat(QFile::encodeName(folder).constData(), &file) == 0;
         folder = QFileInfo(folder).absolutePath()) {
        const bool othersWrite =
            (file.st_mode & S_IWOTH) || ((file.st_mode & S_IWGRP) && file.st_gid != 0);
        if (file.st_uid != 0 || (othersWrite && !(file.st_mode & S_ISVTX)))
            throw refused(folder, "kann von einem anderen Benutzer geändert werden");
        if (QDir(folder).isRoot())
            return;
    }
}

std::function<void()> finishReplace(const QString& path) {
    return [folder = QFileInfo(path).absolutePath()] {
        const int fd =
            ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    };
}

bool waitUntilReplaceable(const QString&) {
    return true; // Linux replaces an open file: whoever holds it keeps reading the old one
}

} // namespace file_system

bool FolderLock::tryLock() {
    if (m_handle < 0)
        m_handle =
            ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_handle < 0 && errno != ENOENT && errno != ENOTDIR)
        throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(m_folder));
    // Every user who may read the folder can take this lock on the folder itself, whatever path
    // led to it; the system ends it with the process that holds it. A folder that is not there
    // keeps no one out.
    return m_handle < 0 || ::flock(int(m_handle), LOCK_EX | LOCK_NB) == 0;
}

void FolderLock::release() {
    if (m_handle >= 0)
        ::close(int(std::exchange(m_handle, -1))); // ends the lock
}
