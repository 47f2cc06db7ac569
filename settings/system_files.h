#pragma once

#include <QString>
#include <QtGlobal>

// The file calls that differ between Linux and Windows, each system's in a file of its own
// (system_files_posix.cpp, system_files_win.cpp). Every failure throws KovexError naming the
// file as the caller shows it.

// A file open through the system's own calls, unbuffered: each failure is known exactly, with
// the system's own code (Qt folds a full disk into a plain write error). Closed when destroyed.
class SystemFile {
public:
    SystemFile() = default;
    ~SystemFile();
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    enum class Creation { Created, NameTaken };
    // Creates the file for writing; never opens one that is there already (NameTaken).
    Creation createExclusive(const QString& path, const QString& shown);
    // Opens a regular file for reading without ever blocking on a named pipe or device, and
    // checks the open file, so nothing can be swapped in between; anything else is refused.
    void openRegularForReading(const QString& path);

    qint64 size() const;
    // Up to size bytes; 0 at the end of the file.
    qint64 read(char* data, qint64 size);
    void write(const char* data, qint64 size);
    // Until the system says the bytes are on the disk.
    void flushToDisk();
    // When root replaces a file, the new one keeps its owner; every user keeps its
    // permissions. (Windows keeps attributes, not modes: they go over with replaceFile.)
    void takeOverOwnerAndPermissions(const QString& original);
    // A new file that copies another never allows more than that one does: a copy of a game
    // file the others may not read is not readable by them either.
    void narrowPermissionsTo(const QString& other);
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

// Creates the file empty if nothing of that name is there; never truncates one that appears
// meanwhile.
void createIfMissing(const QString& path);
// Puts the file at from in the place of the file at to, in one step: a reader sees the old file
// or the new one. A read-only target is replaced and stays read-only.
void replaceFile(const QString& from, const QString& to, const QString& shown);
// Makes a rename in the folder durable; a folder that cannot be opened only loses that.
void syncFolder(const QString& folder);
// Removes the file whatever its own mode or attributes: only the folder's permission counts.
bool removeFile(const QString& path);
// Removes a temporary file left by an earlier run, but never one that a live copy of the
// program is still writing (SystemFile::createExclusive holds it so).
void removeLeftover(const QString& path);
// The fingerprint (SystemFile::fingerprint) of the file the path leads to; empty when there is
// none.
QByteArray fingerprint(const QString& path);
// Whether a symbolic link may be followed: one made by this user or by the owner of the folder
// that holds it. One planted by another user into a folder they may write is not.
bool linkIsTrusted(const QString& link);
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
