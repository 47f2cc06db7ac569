#pragma once

#include <QSaveFile>

#include <optional>

// Whole files, read and written as every file of the program is: links as file_system.h allows
// them, regular files only, every failure a KovexError naming the file.
namespace safe_file {

// A file is read whole into memory: one of more is refused (KovexError 7), read or written.
constexpr qint64 kLargest = qint64(1) << 30;

// The file's bytes; a folder, named pipe or device in its place is refused (75).
QByteArray read(const QString& path);
// Makes the folder, and those above it that are missing.
void createFolder(const QString& path);

} // namespace safe_file

// New content for one file, written beside it (QSaveFile) and put in its place in one step by
// commit(): until then the file is untouched, so a failure, a kill or a power loss leaves it
// whole. A replaced file keeps its permissions, and a read-only one stays read-only. Leftovers of
// a killed save beside the file ("<name>.XXXXXX") go first: the caller holds the folder's lock,
// so no live copy writes them.
class SafeWrite {
public:
    explicit SafeWrite(const QString& path);
    ~SafeWrite();

    void write(const QByteArray& bytes);
    // Lets no one read the new file whom the source does not let read it.
    void narrowTo(const QString& source);
    // The new content on the disk, and the file free to be replaced (Windows: not held open).
    void prepare();
    void commit();

    // Writes the file whole in one step.
    static void whole(const QString& path, const QByteArray& bytes);

private:
    [[noreturn]] void fail();

    QString m_path;   // as the caller named it, for messages
    QString m_target; // where its links lead, as QSaveFile follows them
    QSaveFile m_file;
    std::optional<QFileDevice::Permissions> m_readOnly; // lifted for the replace
    std::function<void()> m_finish;                     // what Qt leaves out of the replace
    bool m_committed = false;
};
