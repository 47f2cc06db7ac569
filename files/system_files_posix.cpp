#include "system_files.h"

#include "file_errors.h"
#include "file_place.h"
#include "kovex_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Retries a call that a signal interrupted.
template <typename Call> auto retried(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

QByteArray fingerprintOf(const struct stat& status) {
    QByteArray print;
    for (const qint64 value : {qint64(status.st_dev), qint64(status.st_ino), qint64(status.st_size),
                               qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec),
                               qint64(status.st_ctim.tv_sec), qint64(status.st_ctim.tv_nsec)})
        print += QByteArray::number(value, 16) + ' ';
    return print;
}

// Whether the owner and group of a file may read another, by its permission bits.
bool mayRead(const struct stat& file, uid_t user, gid_t group) {
    if (user == file.st_uid)
        return file.st_mode & S_IRUSR;
    return file.st_mode & (group == file.st_gid ? S_IRGRP : S_IROTH);
}

} // namespace

SystemFile::~SystemFile() {
    if (isOpen())
        ::close(int(m_handle));
}

SystemFile::Creation SystemFile::createExclusive(const FilePlace& folder, const QString& name) {
    m_shown = folder.named();
    const int fd = retried([&] {
        return ::openat(int(folder.folder()), encoded(name).constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    });
    if (fd < 0) {
        const long code = lastSystemErrorCode();
        if (code == EEXIST)
            return Creation::NameTaken;
        throw systemError(m_shown, code);
    }
    // Held while this copy writes it, so that no other copy takes it for a leftover; one that
    // was taken for one before the hold removed it, and another name is tried.
    struct stat status {};
    if (retried([&] { return ::flock(fd, LOCK_EX); }) != 0 || ::fstat(fd, &status) != 0 ||
        status.st_nlink == 0) {
        ::close(fd);
        return Creation::NameTaken;
    }
    m_handle = fd;
    // What root makes in another user's folder belongs to that user, who works with it after
    // (where the file system has no owners, it stays as made).
    struct stat above {};
    if (::geteuid() == 0 && ::fstat(int(folder.folder()), &above) == 0)
        static_cast<void>(::fchown(fd, above.st_uid, above.st_gid));
    return Creation::Created;
}

void SystemFile::openForReading(const FilePlace& place) {
    m_shown = place.named();
    // Non-blocking, so that a named pipe does not wait for a writer; a link swapped in since the
    // place was reached is not followed.
    const int fd = retried([&] {
        return ::openat(int(place.folder()), place.encodedName().constData(),
                        O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    });
    if (fd < 0)
        throw systemError(m_shown, lastSystemErrorCode());
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(m_shown));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_handle = fd;
}

qint64 SystemFile::size() const {
    struct stat status {};
    if (::fstat(int(m_handle), &status) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
    return status.st_size;
}

qint64 SystemFile::read(char* data, qint64 size) {
    const ssize_t got = retried([&] { return ::read(int(m_handle), data, size_t(size)); });
    if (got < 0)
        throw systemError(m_shown, lastSystemErrorCode());
    return got;
}

void SystemFile::write(const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = retried(
            [&] { return ::write(int(m_handle), data, size_t(qMin<qint64>(size, 1 << 30))); });
        if (written < 0)
            throw systemError(m_shown, lastSystemErrorCode());
        data += written;
        size -= written;
    }
}

void SystemFile::flushToDisk() {
    if (::fsync(int(m_handle)) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
}

void SystemFile::takeOverOwnerAndPermissions(const FilePlace& original) {
    struct stat status {};
    if (::fstatat(int(original.folder()), original.encodedName().constData(), &status,
                  AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (::geteuid() == 0 && ::fchown(int(m_handle), status.st_uid, status.st_gid) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
    if (::fchmod(int(m_handle), status.st_mode & 0777) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
}

void SystemFile::narrowPermissionsTo(const SystemFile& source) {
    struct stat mine {};
    struct stat theirs {};
    if (::fstat(int(m_handle), &mine) != 0 || ::fstat(int(source.m_handle), &theirs) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
    // Root gave the copy to its folder's owner; one who may not read the original gets no copy
    // of it either: that copy stays with the original's owner and group.
    if (::geteuid() == 0 && mine.st_uid != 0 && !mayRead(theirs, mine.st_uid, mine.st_gid) &&
        ::fchown(int(m_handle), theirs.st_uid, theirs.st_gid) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
    if (::fchmod(int(m_handle), mine.st_mode & theirs.st_mode & 0777) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
}

QByteArray SystemFile::fingerprint() const {
    struct stat status {};
    if (::fstat(int(m_handle), &status) != 0)
        throw systemError(m_shown, lastSystemErrorCode());
    return fingerprintOf(status);
}

void SystemFile::close() {
    if (!isOpen())
        return;
    const int fd = int(m_handle);
    m_handle = kClosed;
    // Written bytes are synced before; a failing close of this kind loses nothing, but says so.
    if (::close(fd) != 0 && errno != EINTR)
        throw systemError(m_shown, lastSystemErrorCode());
}

namespace system_files {

bool createFolder(const QString& path) {
    const QFileInfo folder(QDir::cleanPath(path));
    if (folder.isDir())
        return true;
    const QString parent = folder.absolutePath();
    if (!createFolder(parent))
        return false;
    const int above = retried(
        [&] { return ::open(encoded(parent).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); });
    if (above < 0)
        return QFileInfo(path).isDir();
    const QByteArray name = encoded(folder.fileName());
    const bool made = ::mkdirat(above, name.constData(), 0777) == 0;
    // What root makes in another user's folder belongs to that user. Handed over through
    // handles, so that a link put in its place meanwhile hands over nothing.
    struct stat owner {};
    if (made && ::geteuid() == 0 && ::fstat(above, &owner) == 0) {
        const int fd = retried([&] {
            return ::openat(above, name.constData(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        });
        if (fd >= 0) {
            static_cast<void>(::fchown(fd, owner.st_uid, owner.st_gid));
            ::close(fd);
        }
    }
    ::close(above);
    return made || QFileInfo(path).isDir();
}

void createIfMissing(const FilePlace& place) {
    // Appending never truncates, so a file that appears meanwhile keeps its content.
    const int fd = retried([&] {
        return ::openat(int(place.folder()), place.encodedName().constData(),
                        O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0666);
    });
    if (fd < 0)
        throw systemError(place.named(), lastSystemErrorCode());
    ::close(fd);
}

void replaceFile(const FilePlace& place, const QString& from) {
    const int folder = int(place.folder());
    if (::renameat(folder, encoded(from).constData(), folder, place.encodedName().constData()) != 0)
        throw systemError(place.named(), lastSystemErrorCode());
}

void syncFolder(const FilePlace& place) {
    const int fd = ::openat(int(place.folder()), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QStringList entriesBeside(const FilePlace& place) {
    QStringList names;
    const int fd = ::openat(int(place.folder()), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!folder) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(folder))
        names << QFile::decodeName(entry->d_name);
    ::closedir(folder);
    return names;
}

bool removeBeside(const FilePlace& place, const QString& name) {
    return ::unlinkat(int(place.folder()), encoded(name).constData(), 0) == 0;
}

void removeLeftoverBeside(const FilePlace& place, const QString& name) {
    // A live copy holds its temporary file; without the hold it is a leftover. Only regular
    // files are this program's.
    const int fd = ::openat(int(place.folder()), encoded(name).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        removeBeside(place, name);
    ::close(fd);
}

QByteArray fingerprint(const QString& path) {
    struct stat status {};
    if (::stat(encoded(path).constData(), &status) != 0)
        return {};
    return fingerprintOf(status);
}

QString folderKey(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool isWritableByUser(const QString& path) {
    return ::access(encoded(path).constData(), W_OK) == 0;
}

bool isHeldByAnotherProgram(const QString&) {
    // Linux replaces an open file: whoever holds it keeps reading the old content.
    return false;
}

bool isNameTooLong(const QString& path) {
    const QFileInfo info(path);
    const long longest = ::pathconf(encoded(info.absolutePath()).constData(), _PC_NAME_MAX);
    return encoded(info.fileName()).size() > (longest > 0 ? longest : 255);
}

qsizetype longestPath() {
    // Linux sets no limit on a whole path; each call takes at most PATH_MAX.
    return std::numeric_limits<qsizetype>::max();
}

} // namespace system_files
