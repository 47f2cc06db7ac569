#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Keeps other copies of the program out of folders while this one works in them: the
// application folder for a save (and for the originals an apply keeps in configs), the game's
// Mechdata for an apply. The lock is taken on each folder itself, so copies exclude each other
// whoever runs them, whatever their environment, and however the folder is spelt or linked; no
// lock file is made, and a copy that ends, however, lets go. Each system's part is in a file of
// its own: folder_lock_posix.cpp (the system's file lock on the folder's own descriptor),
// folder_lock_win.cpp (a mutex named after the folder's file ID, open to every user).
class FolderLock {
public:
    // Locks each folder once, however often it is named, in an order of the folders' own
    // (so two copies never wait for each other in a circle), waiting up to kWaitMs for another
    // copy; then throws KovexError 70 naming the folder. A folder that is not there is not
    // locked: what needs it reports that.
    explicit FolderLock(const QStringList& folders);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    static constexpr int kWaitMs = 5000;

private:
    struct Folder {
        QString path;
        QByteArray identity; // the same for every spelling of the folder
        qintptr handle;      // the system's, for the lock
    };
    enum class Opening { Opened, Missing, Refused };
    enum class Attempt { Locked, HeldByAnother, Failed };

    // The system's part: the folder opened for its lock, one try at the lock, and letting go
    // (of the lock too, where it is held).
    static Opening open(const QString& path, QByteArray& identity, qintptr& handle);
    static Attempt tryLock(qintptr handle);
    static void release(qintptr handle);

    void releaseAll();

    QList<Folder> m_folders;
};
