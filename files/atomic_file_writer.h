#pragma once

#include "file_place.h"
#include "system_files.h"

#include <QString>

// Gives a file new content in one step: the bytes go to a temporary file of this writer's own
// beside it ("<name>.kovex-tmp.<random>", created exclusively), which is synced and renamed over
// the file, and the folder is synced after. Until then the old file is untouched; a failure, the
// process being killed or a power loss leaves it whole.
//
// The file, or what its links lead to (followed as file_place.h decides), must be a regular
// file or not exist yet; the links are kept. An existing file keeps its permissions, and when
// root replaces it, its owner and group; on Windows it keeps its attributes, read-only
// included. A new file allows at most what the source file allows, where one is given.
// Leftover temporary files of the same file, from a killed run, are removed first; one that a
// live copy is still writing is not. Every failure throws KovexError naming the file as the
// caller named it.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString& path, const SystemFile* permissionsFrom = nullptr);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const char* data, qint64 size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    // prepare, then replace.
    void commit();
    // The new content whole and on the disk, beside the file, which is still untouched.
    void prepare();
    // The new content takes the file's place; after prepare.
    void replace();
    // The file as it is after replace.
    QByteArray fingerprint() const;

    // Whether the folder entry is one of this program's temporary files for the file name.
    static bool isTemporaryName(const QString& entry, const QString& fileName);

private:
    void createTemporary();
    void discardTemporary();

    FilePlace m_place;
    QString m_tempName;
    SystemFile m_temp;
    bool m_committed = false;
    QByteArray m_fingerprint;
};
