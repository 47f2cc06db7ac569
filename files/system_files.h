#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class FilePlace;

// The file calls that differ between Linux and Windows, each system's in a file of its own
// (system_files_posix.cpp, system_files_win.cpp). Files are reached through their place
// (file_place.h), which decides about links. Every failure throws KovexError naming the file
// as the caller named it.

// A file open through the system's own calls, unbuffered: each failure is known exactly, with
// the system's own code (Qt folds a full disk into a plain write error). Closed when destroyed.
class SystemFile {
public:
    SystemFile() = default;
    ~SystemFile();
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    enum class Creation { Created, NameTaken };
    // Creates the file called name in the place's folder, for writing; never opens one that is
    // there already (NameTaken). When root makes it, it belongs to the folder's owner.
    Creation createExclusive(const FilePlace& folder, const QString& name);
    // Opens a regular file for reading without ever blocking on a named pipe or device, and
    // checks the open file, so nothing can be swapped in between; anything else is refused.
    void openForReading(const FilePlace& place);
    // The same, the place reached from the path.
    void openRegularForReading(const QString& path);

    qint64 size() const;
    // Up to size bytes; 0 at the end of the file.
    qint64 read(char* data, qint64 size);
    void write(const char* data, qint64 size);
    // Until the system says the bytes are on the disk.
    void flushToDisk();
    // When root replaces a file, the new one keeps its owner; every user keeps its
    // permissions. (Windows keeps attributes, not modes: they go over with replaceFile.)
    void takeOverOwnerAndPermissions(const FilePlace& original);
    // A new file that copies another never allows more than that one does: a copy of a game
    // file the others may not read is not readable by them either, nor by the folder's owner
    // that root would have given it to.
    void narrowPermissionsTo(const SystemFile& source);
    // What tells this file's present state from any other: where it lies, its size, when it was
    // last written or changed.
    QByteArray fingerprint() const;
    void close();
    bool isOpen() const { return m_handle != kClosed; }

private:
    static constexpr qintptr kClosed = -1;
    qintptr m_handle = kClosed; // the system's descriptor or handle
    QString m_shown;
};

namespace system_files {

// Makes the folder, and the folders above it that are missing; true when it is there after. When
// root makes one in another user's folder, it belongs to that user, who works in it after.
bool createFolder(const QString& path);
// Creates the file empty if nothing of that name is there; never truncates one that appears
// meanwhile.
void createIfMissing(const FilePlace& place);
// Puts the file called from, in the place's folder, in the place of the file, in one step: a
// reader sees the old file or the new one. A read-only file is replaced and stays read-only.
void replaceFile(const FilePlace& place, const QString& from);
// Makes a rename in the place's folder durable; a folder that cannot be opened only loses that.
void syncFolder(const FilePlace& place);
// The names of the files in the place's folder.
QStringList entriesBeside(const FilePlace& place);
// Removes the file called name from the place's folder, whatever its own mode or attributes:
// only the folder's permission counts.
bool removeBeside(const FilePlace& place, const QString& name);
// Removes a temporary file left by an earlier run, but never one that a live copy of the
// program is still writing (SystemFile::createExclusive holds it so).
void removeLeftoverBeside(const FilePlace& place, const QString& name);
// The fingerprint (SystemFile::fingerprint) of the file the path leads to; empty when there is
// none.
QByteArray fingerprint(const QString& path);
// The same text for every spelling of one folder, as the system compares names.
QString folderKey(const QString& folder);
// Whether this user may write the file, or create files in the folder. Root may write
// everything on a writable file system.
bool isWritableByUser(const QString& path);
// Whether another program holds the file open so that it cannot be replaced now (Windows: the
// game running with its unit files open).
bool isHeldByAnotherProgram(const QString& path);
// The longest path the system names a folder by.
qsizetype longestPath();
// Whether the file's own name is longer than its folder's file system takes.
bool isNameTooLong(const QString& path);

} // namespace system_files
