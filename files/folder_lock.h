#pragma once

#include <QString>

// Keeps other copies of KOVEX out of a folder while this one works in it: the application
// folder for a save or an import, the game's Mechdata (and with it the game's kept units) for an
// apply. The lock is taken on the folder itself, so copies exclude each other whoever runs them
// and however the folder is spelt or linked; it leaves no file and ends with the process that
// holds it (on Linux the system's lock on the folder's own descriptor, on Windows a mutex named
// after the folder as the system names it and open to every user: file_system_posix.cpp,
// file_system_win.cpp).
class FolderLock {
public:
    // Waits up to kWaitMs for another copy, then throws KovexError 70 naming the folder. A
    // folder that is not there is not locked: what needs it says so.
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    static constexpr int kWaitMs = 5000;

private:
    // Each system's part: one try at the lock (false while another copy holds it), and letting
    // go. A refusal throws.
    bool tryLock();
    void release();

    QString m_folder;
    qintptr m_handle = -1; // the system's, once the folder is opened
};
