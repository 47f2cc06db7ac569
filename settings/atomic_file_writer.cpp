#include "atomic_file_writer.h"

#include "file_checks.h"
#include "file_errors.h"
#include "kovex_error.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kTemporaryMark = QStringLiteral(".kovex-tmp");

#ifdef Q_OS_WIN
using file_checks::windowsPath;

// Windows will not replace a read-only file: the target's attributes are lifted for the move
// and given back to the new file, so a read-only or hidden settings file stays so.
void renameOver(const QString& from, const QString& to, const QString& shown) {
    const std::wstring target = windowsPath(to);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!MoveFileExW(windowsPath(from).c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        if (existed)
            SetFileAttributesW(target.c_str(), attributes);
        // A file open in another program often fails the move as "access denied".
        if (code == ERROR_ACCESS_DENIED && file_checks::isHeldByAnotherProgram(to))
            throw inUseError(shown);
        throw windowsError(shown, code);
    }
    if (existed)
        SetFileAttributesW(target.c_str(), attributes);
}
#else
void renameOver(const QString& from, const QString& to, const QString& shown) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw systemError(shown);
}
#endif

void syncFolderOf(const QString& path) {
#ifndef Q_OS_WIN
    // Makes the rename itself durable; a folder that cannot be opened only loses that.
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// Temporary files of earlier, killed runs for the same target. Removing one never blocks on
// its mode: only the folder's permission counts.
void removeLeftovers(const QString& target) {
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    const QString name = info.fileName();
    const QStringList entries = folder.entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& entry : entries) {
        if (!AtomicFileWriter::isTemporaryName(entry, name) || folder.remove(entry))
            continue;
        // Windows does not delete a read-only file.
        const QString path = folder.filePath(entry);
        QFile::setPermissions(path,
                              QFile::permissions(path) | QFile::WriteOwner | QFile::WriteUser);
        folder.remove(entry);
    }
}

} // namespace

bool AtomicFileWriter::isTemporaryName(const QString& entry, const QString& fileName) {
    const QString stem = fileName + kTemporaryMark;
    return entry == stem ||
           (entry.startsWith(stem + QLatin1Char('.')) && entry.size() > stem.size() + 1);
}

AtomicFileWriter::AtomicFileWriter(const QString& path)
    : m_path(path), m_target(file_checks::resolveLinks(path)) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo target(m_target);
    if (!target.absoluteDir().exists())
        throw KovexError(KovexError::PathNotFound, shown);
    // A folder, device or named pipe is never replaced by a plain file.
    if (target.exists() && !target.isFile())
        throw KovexError(KovexError::PathFileAccessError, shown);
    removeLeftovers(m_target);
    createTemporary();
    if (target.exists())
        takeOverOwnerAndPermissions();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_committed)
        discardTemporary();
}

void AtomicFileWriter::createTemporary() {
    for (int attempt = 0;; ++attempt) {
        const QString suffix =
            QString::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFFull, 36);
        m_tempPath = m_target + kTemporaryMark + QLatin1Char('.') + suffix;
        m_temp.setFileName(m_tempPath);
        // Exclusive, so no other writer shares it; unbuffered, so each write's failure is
        // known exactly.
#ifdef Q_OS_WIN
        // Opened here, so that the handle can be flushed to the disk before the move.
        m_handle = CreateFileW(windowsPath(m_tempPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            m_handle = nullptr;
            if (code == ERROR_FILE_EXISTS && attempt < 8)
                continue;
            throw windowsError(m_path, code);
        }
        if (file_checks::openFromHandle(m_temp, m_handle,
                                        QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        m_handle = nullptr;
        QFile::remove(m_tempPath);
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(m_path));
#else
        errno = 0;
        if (m_temp.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return;
        if (!m_temp.exists() || attempt >= 8)
            throw systemError(m_path, &m_temp);
#endif
    }
}

void AtomicFileWriter::takeOverOwnerAndPermissions() {
#ifdef Q_OS_WIN
    // Windows keeps attributes, not modes: they go over with the move (renameOver).
#else
    struct stat status {};
    if (::stat(QFile::encodeName(m_target).constData(), &status) == 0 && ::geteuid() == 0 &&
        ::fchown(m_temp.handle(), status.st_uid, status.st_gid) != 0) {
        const KovexError error = systemError(m_path);
        discardTemporary();
        throw error;
    }
    if (!m_temp.setPermissions(QFile::permissions(m_target))) {
        const KovexError error = fileError(m_temp, m_path);
        discardTemporary();
        throw error;
    }
#endif
}

void AtomicFileWriter::discardTemporary() {
    m_temp.close();
    // By its name: a file opened from a handle (Windows) does not know it.
    QFile::remove(m_tempPath);
}

void AtomicFileWriter::write(const char* data, qint64 size) {
#ifdef Q_OS_WIN
    // Straight to the handle: only Windows' own error code tells a full disk apart.
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(m_handle, data, DWORD(std::min<qint64>(size, 1 << 30)), &written, nullptr))
            throw windowsError(m_path, GetLastError());
        data += written;
        size -= written;
    }
#else
    errno = 0;
    if (m_temp.write(data, size) != size)
        throw systemError(m_path, &m_temp);
#endif
}

void AtomicFileWriter::commit() {
#ifdef Q_OS_WIN
    if (!FlushFileBuffers(m_handle))
        throw windowsError(m_path, GetLastError());
#else
    if (::fsync(m_temp.handle()) != 0)
        throw systemError(m_path);
#endif
    m_temp.close();
    if (m_temp.error() != QFileDevice::NoError)
        throw systemError(m_path, &m_temp);
    renameOver(m_tempPath, m_target, m_path);
    m_committed = true;
    syncFolderOf(m_target);
}
