#include "folder_lock.h"

#include "windows_path.h"

#include <windows.h>

#include <sddl.h>

namespace {

// Every user may wait for the mutex and release it, and nothing more: copies run by other
// users take the same one.
constexpr wchar_t kOpenToEveryUser[] = L"D:(A;;0x00100001;;;WD)";
constexpr DWORD kWaitAndRelease = SYNCHRONIZE | MUTEX_MODIFY_STATE;

} // namespace

FolderLock::Opening FolderLock::open(const QString& path, QByteArray& identity, qintptr& handle) {
    // The folder's volume and file ID name it, whatever path, case or junction led to it.
    const HANDLE folder = CreateFileW(windowsPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? Opening::Missing
                                                                            : Opening::Refused;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(folder, &info);
    CloseHandle(folder);
    if (!known || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return known ? Opening::Missing : Opening::Refused;
    identity = QByteArray::number(quint64(info.dwVolumeSerialNumber), 16) + ':' +
               QByteArray::number((quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow, 16);

    // In the global namespace, so that copies in every session and of every user meet.
    const std::wstring name =
        L"Global\\kovex-folder-" +
        QString::fromLatin1(identity).replace(QLatin1Char(':'), QLatin1Char('-')).toStdWString();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kOpenToEveryUser, SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return Opening::Refused;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const HANDLE mutex = CreateMutexExW(&attributes, name.c_str(), 0, kWaitAndRelease);
    LocalFree(descriptor);
    if (!mutex)
        return Opening::Refused;
    handle = reinterpret_cast<qintptr>(mutex);
    return Opening::Opened;
}

FolderLock::Attempt FolderLock::tryLock(qintptr handle) {
    // A mutex whose holder ended without letting go is abandoned, and taken over.
    switch (WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        return Attempt::Locked;
    case WAIT_TIMEOUT:
        return Attempt::HeldByAnother;
    default:
        return Attempt::Failed;
    }
}

void FolderLock::release(qintptr handle) {
    // Refused harmlessly where this thread does not hold it.
    ReleaseMutex(reinterpret_cast<HANDLE>(handle));
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}
