#pragma once

#include <QString>
#include <QtGlobal>

// Keeps other copies of the program out of a folder while this one saves or applies: one lock
// per application folder for the settings, one per game folder for an apply. The lock files
// live in the user's runtime folder (on Windows, or without one, the user's temporary folder),
// never in the folder itself. Each system's calls are in a file of their own
// (folder_lock_posix.cpp, folder_lock_win.cpp).
class FolderLock {
public:
    enum class Purpose { Settings, Apply };

    // Waits a few seconds for another copy to finish; then throws KovexError naming the folder.
    FolderLock(Purpose purpose, const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // The lock file for a folder; the same for every spelling of the folder.
    static QString lockFilePath(Purpose purpose, const QString& folder);

    static constexpr int kWaitMs = 5000;

private:
    enum class Attempt { Locked, HeldByAnother, Failed };
    // The system's part: one try at the lock file, and letting it go.
    Attempt tryLock(const QString& lockFile);
    void unlock();
    // The folder as the lock knows it: one name for every spelling.
    static QString folderKey(const QString& canonicalPath);
    static QString lockFolder();

    qintptr m_handle = -1; // the system's handle of the lock file
};
