#pragma once

#include <QFile>
#include <QString>

// Gives a file new content in one step: the bytes go to "<name>.kovex-tmp" beside it, which is
// renamed over the file. Until then the old file is untouched; a failure, or the
// process being killed, leaves it whole. The temporary name is fixed, so a leftover from a
// killed run is reused by the next write instead of piling up.
//
// A file that is a symbolic link has its target replaced and the link kept; an existing file
// keeps its permissions. Every failure throws KovexError.
class AtomicFileWriter {
public:
    enum class Durability {
        // Synced to the disk before the rename, and the rename synced too: survives a power
        // loss on any file system. For the settings, which are small.
        Synced,
        // Only the rename orders the write: survives a crash of the program; on a power loss
        // it relies on the file system writing a replaced file's data before the rename
        // (ext4's default). For unit files of many MiB, where a sync costs more than the copy.
        RenameOnly,
    };

    AtomicFileWriter(const QString& path, Durability durability);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const char* data, qint64 size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    void commit();

    static QString temporaryPath(const QString& target);

private:
    QString m_path;   // as the caller named it, for messages
    QString m_target; // the file that gets replaced
    QFile m_temp;
    Durability m_durability;
    bool m_committed = false;
};
