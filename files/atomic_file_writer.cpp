#include "atomic_file_writer.h"

#include "kovex_error.h"

#include <QDir>
#include <QRandomGenerator>

namespace {

const QString kTemporaryMark = QStringLiteral(".kovex-tmp");

// Temporary files of earlier, killed runs for the same target.
void removeLeftovers(const FilePlace& target) {
    for (const QString& entry : system_files::entriesBeside(target))
        if (AtomicFileWriter::isTemporaryName(entry, target.name()))
            system_files::removeLeftoverBeside(target, entry);
}

} // namespace

bool AtomicFileWriter::isTemporaryName(const QString& entry, const QString& fileName) {
    const QString stem = fileName + kTemporaryMark;
    return entry == stem ||
           (entry.startsWith(stem + QLatin1Char('.')) && entry.size() > stem.size() + 1);
}

AtomicFileWriter::AtomicFileWriter(const QString& path, const SystemFile* permissionsFrom)
    : m_place(path) {
    const FilePlace::Kind kind = m_place.kind();
    // A folder, device or named pipe is never replaced by a plain file.
    if (kind != FilePlace::Kind::Regular && kind != FilePlace::Kind::Missing)
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
    removeLeftovers(m_place);
    createTemporary();
    try {
        if (kind == FilePlace::Kind::Regular)
            m_temp.takeOverOwnerAndPermissions(m_place);
        else if (permissionsFrom)
            m_temp.narrowPermissionsTo(*permissionsFrom);
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
        m_tempName = m_place.name() + kTemporaryMark + QLatin1Char('.') + suffix;
        if (m_temp.createExclusive(m_place, m_tempName) == SystemFile::Creation::Created)
            return;
        if (attempt >= 8)
            throw KovexError(KovexError::FileAlreadyExists,
                             QDir::toNativeSeparators(m_place.named() + kTemporaryMark));
    }
}

void AtomicFileWriter::discardTemporary() {
    try {
        m_temp.close();
    } catch (const KovexError&) {
        // Its content is dropped anyway.
    }
    system_files::removeBeside(m_place, m_tempName);
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
    system_files::replaceFile(m_place, m_tempName);
    m_committed = true;
    system_files::syncFolder(m_place);
    m_fingerprint = system_files::fingerprint(m_place.named());
}

QByteArray AtomicFileWriter::fingerprint() const {
    return m_fingerprint;
}
