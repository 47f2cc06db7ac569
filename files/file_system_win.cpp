#include "file_system.h"
#include "folder_lock.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>

#include <windows.h>

#include <sddl.h>

namespace file_system {

KovexError lastError(const QString& path) {
    const DWORD code = GetLastError();
    const QString shown = QDir::toNativeSeparators(path);
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
        code == ERROR_USER_MAPPED_FILE)
        return inUseError(path);
    if (code == ERROR_FILENAME_EXCED_RANGE)
        return KovexError(KovexError::BadFileName, shown + QStringLiteral(" (Name zu lang)"));
    static const QHash<DWORD, KovexError::Number> numbers{
        {ERROR_DISK_FULL, KovexError::DiskFull},
        {ERROR_HANDLE_DISK_FULL, KovexError::DiskFull},
        {ERROR_ACCESS_DENIED, KovexError::PermissionDenied},
        {ERROR_WRITE_PROTECT, KovexError::PermissionDenied},
        {ERROR_FILE_NOT_FOUND, KovexError::FileNotFound},
        {ERROR_PATH_NOT_FOUND, KovexError::PathNotFound},
        {ERROR_NOT_READY, KovexError::DeviceUnavailable},
        {ERROR_CRC, KovexError::DeviceIoError},
        {ERROR_IO_DEVICE, KovexError::DeviceIoError},
        {ERROR_NOT_ENOUGH_MEMORY, KovexError::OutOfMemory}};
    return KovexError(numbers.value(code, KovexError::PathFileAccessError), shown);
}

void refuseForeignLinks(const QString&) {
    // Only administrators make symbolic links on Windows (unless developer mode lets every user
    // make them): a link is followed as Linux follows root's.
}

void refuseSharedPlaces(const QString&) {
    // Windows has no root; an administrator's writes keep the rights the folder passes on.
}

std::function<void()> finishReplace(const QString& path) {
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const DWORD before = GetFileAttributesW(file.c_str());
    const DWORD kept =
        before == INVALID_FILE_ATTRIBUTES
            ? 0
            : before & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    return [=] { SetFileAttributesW(file.c_str(), GetFileAttributesW(file.c_str()) | kept); };
}

bool waitUntilReplaceable(const QString& path) {
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    for (int attempt = 1;; ++attempt) {
        // Whatever shares the file without allowing its deletion also stops the replacing move.
        const HANDLE file = CreateFileW(name.c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            return true; // free, or missing or refused otherwise: the replace says why
        if (attempt == 40)
            return false;
        Sleep(25);
    }
}

} // namespace file_system

bool FolderLock::tryLock() {
    if (m_handle < 0) {
        // The folder as the system names it, whatever path, case or link led to it.
        const QString folder = QFileInfo(m_folder).canonicalFilePath().toCaseFolded();
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            return true; // not there: nothing to keep others out of
        const QString name =
            QStringLiteral("Global\\kovex-folder-") +
            QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex();
        // In the global namespace, and every user may wait for it and release it, nothing more:
        // copies in every session and of every user meet.
        PSECURITY_DESCRIPTOR open = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100001;;;WD)",
                                                             SDDL_REVISION_1, &open, nullptr);
        SECURITY_ATTRIBUTES everyUser{sizeof everyUser, open, FALSE};
        const HANDLE mutex = CreateMutexExW(&everyUser, reinterpret_cast<LPCWSTR>(name.utf16()), 0,
                                            SYNCHRONIZE | MUTEX_MODIFY_STATE);
        LocalFree(open);
        if (!mutex)
            throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(m_folder));
        m_handle = reinterpret_cast<qintptr>(mutex);
    }
    // A mutex whose holder ended without letting go is abandoned, and taken over.
    const DWORD waited = WaitForSingleObject(reinterpret_cast<HANDLE>(m_handle), 0);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void FolderLock::release() {
    if (m_handle < 0)
        return;
    // Refused harmlessly where this thread does not hold it.
    ReleaseMutex(reinterpret_cast<HANDLE>(m_handle));
    CloseHandle(reinterpret_cast<HANDLE>(std::exchange(m_handle, -1)));
}
