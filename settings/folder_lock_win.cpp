#include "folder_lock.h"

#include "windows_path.h"

#include <QDir>

#include <windows.h>

QString FolderLock::lockFolder() {
    // Windows' runtime location is the user's home folder itself: not a place for these.
    return QDir::tempPath();
}

QString FolderLock::folderKey(const QString& canonicalPath) {
    // One folder, however its name is cased.
    return canonicalPath.toCaseFolded();
}

FolderLock::Attempt FolderLock::tryLock(const QString& lockFile) {
    // The lock is the file open without sharing: Windows closes it with the process that holds
    // it, so a copy that was ended never leaves the folder locked.
    const HANDLE handle = CreateFileW(windowsPath(lockFile).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        m_handle = reinterpret_cast<qintptr>(handle);
        return Attempt::Locked;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? Attempt::HeldByAnother : Attempt::Failed;
}

void FolderLock::unlock() {
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle)); // ends the lock
    m_handle = -1;
}
