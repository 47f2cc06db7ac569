#include "atomic_file_writer.h"

#include "file_errors.h"
#include "kovex_error.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Follows symbolic links to the file that really holds the content, even when it does not
// exist yet.
QString resolveLinks(const QString& path) {
    QString current = path;
    for (int hops = 0; hops < 32; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
}

bool renameOver(const QString& from, const QString& to) {
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// The error of the system call that just failed; Qt folds a full disk into a plain write error.
KovexError systemError(const QString& path, const QFile* file = nullptr) {
    const int code = errno;
    const QString shown = QDir::toNativeSeparators(path);
#ifndef Q_OS_WIN
    if (code == ENOSPC || code == EDQUOT)
        return KovexError(KovexError::DiskFull, shown);
    if (code == EACCES || code == EPERM || code == EROFS)
        return KovexError(KovexError::PermissionDenied, shown);
    if (code == EIO)
        return KovexError(KovexError::DeviceIoError, shown);
#endif
    if (file)
        return fileError(*file, path);
    return KovexError(KovexError::PathFileAccessError, shown);
}

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

} // namespace

QString AtomicFileWriter::temporaryPath(const QString& target) {
    return target + QStringLiteral(".kovex-tmp");
}

AtomicFileWriter::AtomicFileWriter(const QString& path, Durability durability)
    : m_path(path), m_target(resolveLinks(path)), m_durability(durability) {
    const QFileInfo target(m_target);
    if (target.isDir())
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
    if (!target.absoluteDir().exists())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path));

    const QString tempPath = temporaryPath(m_target);
    // A leftover that is no plain file (a folder, a link) is not ours to reuse.
    const QFileInfo leftover(tempPath);
    if (leftover.isSymLink() || (leftover.exists() && !leftover.isFile()))
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(tempPath));
    m_temp.setFileName(tempPath);
    // Unbuffered: each write reaches the system at once, so its failure is known exactly.
    if (!m_temp.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw systemError(path, &m_temp);
    if (target.exists() && !m_temp.setPermissions(QFile::permissions(m_target))) {
        const KovexError error = fileError(m_temp, path);
        m_temp.close();
        m_temp.remove();
        throw error;
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_committed) {
        m_temp.close();
        m_temp.remove();
    }
}

void AtomicFileWriter::write(const char* data, qint64 size) {
    errno = 0;
    if (m_temp.write(data, size) != size)
        throw systemError(m_path, &m_temp);
}

void AtomicFileWriter::commit() {
#ifndef Q_OS_WIN
    if (m_durability == Durability::Synced && ::fsync(m_temp.handle()) != 0)
        throw systemError(m_path);
#endif
    m_temp.close();
    if (m_temp.error() != QFileDevice::NoError)
        throw systemError(m_path, &m_temp);
    if (!renameOver(m_temp.fileName(), m_target))
        throw systemError(m_path);
    m_committed = true;
    if (m_durability == Durability::Synced)
        syncFolderOf(m_target);
}
