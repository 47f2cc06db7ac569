#include "atomic_file_writer.h"

#include "file_checks.h"
#include "kovex_error.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

const QString kTemporaryMark = QStringLiteral(".kovex-tmp");

// Temporary files of earlier, killed runs for the same target.
void removeLeftovers(const QString& target) {
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QString name = info.fileName();
    const QStringList entries = folder.entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& entry : entries)
        if (AtomicFileWriter::isTemporaryName(entry, name))
            system_files::removeLeftover(folder.filePath(entry));
}

} // namespace

bool AtomicFileWriter::isTemporaryName(const QString& entry, const QString& fileName) {
    const QString stem = fileName + kTemporaryMark;
    return entry == stem ||
           (entry.startsWith(stem + QLatin1Char('.')) && entry.size() > stem.size() + 1);
}

AtomicFileWriter::AtomicFileWriter(const QString& path, const QString& permissionsFrom)
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
    try {
        if (target.exists())
            m_temp.takeOverOwnerAndPermissions(m_target);
        else if (!permissionsFrom.isEmpty())
            m_temp.narrowPermissionsTo(permissionsFrom);
    } catch (const KovexError&) {
        discardTemporary();
        throw;
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_committed)
        discardTemporary();
}

void AtomicFileWriter::createTemporary() {
    // Exclusive, so no other writer shares it.
    for (int attempt = 0;; ++attempt) {
        const QString suffix =
            QString::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFFull, 36);
        m_tempPath = m_target + kTemporaryMark + QLatin1Char('.') + suffix;
        if (m_temp.createExclusive(m_tempPath, m_path) == SystemFile::Creation::Created)
            return;
        if (attempt >= 8)
            throw KovexError(KovexError::FileAlreadyExists, QDir::toNativeSeparators(m_tempPath));
    }
}

void AtomicFileWriter::discardTemporary() {
    try {
        m_temp.close();
    } catch (const KovexError&) {
        // Its content is dropped anyway.
    }
    system_files::removeFile(m_tempPath);
}

void AtomicFileWriter::write(const char* data, qint64 size) {
    m_temp.write(data, size);
}

void AtomicFileWriter::commit() {
    prepare();
    replace();
}

void AtomicFileWriter::prepare() {
    m_temp.flushToDisk();
    m_temp.close();
}

void AtomicFileWriter::replace() {
    system_files::replaceFile(m_tempPath, m_target, m_path);
    m_committed = true;
    system_files::syncFolder(QFileInfo(m_target).absolutePath());
    m_fingerprint = system_files::fingerprint(m_target);
}

QByteArray AtomicFileWriter::fingerprint() const {
    return m_fingerprint;
}
