#include "atomic_file_writer.h"

#include "file_checks.h"
#include "file_errors.h"
#include "kovex_error.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

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

bool renameOver(const QString& from, const QString& to) {
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
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

// Temporary files of earlier, killed runs for the same target. Removing one never blocks on
// its mode: only the folder's permission counts.
void removeLeftovers(const QString& target) {
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    const QString name = info.fileName();
    const QStringList entries = folder.entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& entry : entries)
        if (AtomicFileWriter::isTemporaryName(entry, name))
            folder.remove(entry);
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
        m_temp.setFileName(m_target + kTemporaryMark + QLatin1Char('.') + suffix);
        // Exclusive, so no other writer shares it; unbuffered, so each write's failure is
        // known exactly.
        errno = 0;
        if (m_temp.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return;
        if (!m_temp.exists() || attempt >= 8)
            throw systemError(m_path, &m_temp);
    }
}

void AtomicFileWriter::takeOverOwnerAndPermissions() {
#ifndef Q_OS_WIN
    struct stat status {};
    if (::stat(QFile::encodeName(m_target).constData(), &status) == 0 && ::geteuid() == 0 &&
        ::fchown(m_temp.handle(), status.st_uid, status.st_gid) != 0) {
        const KovexError error = systemError(m_path);
        discardTemporary();
        throw error;
    }
#endif
    if (!m_temp.setPermissions(QFile::permissions(m_target))) {
        const KovexError error = fileError(m_temp, m_path);
        discardTemporary();
        throw error;
    }
}

void AtomicFileWriter::discardTemporary() {
    m_temp.close();
    m_temp.remove();
}

void AtomicFileWriter::write(const char* data, qint64 size) {
    errno = 0;
    if (m_temp.write(data, size) != size)
        throw systemError(m_path, &m_temp);
}

void AtomicFileWriter::commit() {
#ifndef Q_OS_WIN
    if (::fsync(m_temp.handle()) != 0)
        throw systemError(m_path);
#endif
    m_temp.close();
    if (m_temp.error() != QFileDevice::NoError)
        throw systemError(m_path, &m_temp);
    if (!renameOver(m_temp.fileName(), m_target))
        throw systemError(m_path);
    m_committed = true;
    syncFolderOf(m_target);
}
