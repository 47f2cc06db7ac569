#pragma once

#include <QString>

// Keeps other copies of the program out of a folder while this one saves or applies: one lock
// per application folder for the settings, one per game folder for an apply. The lock files
// live in the user's runtime folder (on Windows, or without one, the user's temporary folder),
// never in the folder itself.
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
#ifdef Q_OS_WIN
    void* m_handle = nullptr; // the lock file, open for this copy alone
#else
    int m_fd = -1;
#endif
};
