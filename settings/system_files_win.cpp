#include "system_files.h"

#include "file_errors.h"
#include "kovex_error.h"
#include "windows_path.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <windows.h>

#include <aclapi.h>

namespace {

HANDLE handleOf(qintptr handle) {
    return reinterpret_cast<HANDLE>(handle);
}

QByteArray fingerprintOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandle(handle, &info) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        return {};
    QByteArray print;
    for (const qint64 value :
         {qint64(info.dwVolumeSerialNumber), qint64(info.nFileIndexHigh),
          qint64(info.nFileIndexLow), qint64(info.nFileSizeHigh), qint64(info.nFileSizeLow),
          qint64(basic.LastWriteTime.QuadPart), qint64(basic.ChangeTime.QuadPart)})
        print += QByteArray::number(value, 16) + ' ';
    return print;
}

// The owner of a file or folder itself, not of what a link leads to; null when unknown. Freed
// with LocalFree.
PSID ownerOf(const QString& path, PSECURITY_DESCRIPTOR& descriptor) {
    const HANDLE handle =
        CreateFileW(windowsPath(path).c_str(), READ_CONTROL,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    PSID owner = nullptr;
    const DWORD status = GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                         nullptr, nullptr, nullptr, &descriptor);
    CloseHandle(handle);
    return status == ERROR_SUCCESS ? owner : nullptr;
}

} // namespace

SystemFile::~SystemFile() {
    if (isOpen())
        CloseHandle(handleOf(m_handle));
}

SystemFile::Creation SystemFile::createExclusive(const QString& path, const QString& shown) {
    m_shown = shown;
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const long code = lastSystemErrorCode();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
            return Creation::NameTaken;
        throw systemError(shown, code);
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return Creation::Created;
}

void SystemFile::openRegularForReading(const QString& path) {
    m_shown = path;
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        throw KovexError(KovexError::PathFileAccessError, shown);
    // Windows' own code tells a file that another program holds apart.
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw systemError(path, lastSystemErrorCode());
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        throw KovexError(KovexError::PathFileAccessError, shown);
    }
    m_handle = reinterpret_cast<qintptr>(handle);
}

qint64 SystemFile::size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(m_handle), &size))
        throw systemError(m_shown, lastSystemErrorCode());
    return size.QuadPart;
}

qint64 SystemFile::read(char* data, qint64 size) {
    DWORD got = 0;
    if (!ReadFile(handleOf(m_handle), data, DWORD(std::min<qint64>(size, 1 << 30)), &got, nullptr))
        throw systemError(m_shown, lastSystemErrorCode());
    return got;
}

void SystemFile::write(const char* data, qint64 size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(handleOf(m_handle), data, DWORD(std::min<qint64>(size, 1 << 30)), &written,
                       nullptr))
            throw systemError(m_shown, lastSystemErrorCode());
        data += written;
        size -= written;
    }
}

void SystemFile::flushToDisk() {
    if (!FlushFileBuffers(handleOf(m_handle)))
        throw systemError(m_shown, lastSystemErrorCode());
}

void SystemFile::takeOverOwnerAndPermissions(const QString&) {
    // Windows keeps attributes, not modes: they go over with the move (replaceFile).
}

void SystemFile::narrowPermissionsTo(const QString&) {
    // A new file takes its folder's inherited permissions; Windows has no mode to copy.
}

QByteArray SystemFile::fingerprint() const {
    return fingerprintOf(handleOf(m_handle));
}

void SystemFile::close() {
    if (!isOpen())
        return;
    const HANDLE handle = handleOf(m_handle);
    m_handle = kClosed;
    if (!CloseHandle(handle))
        throw systemError(m_shown, lastSystemErrorCode());
}

namespace system_files {

void createIfMissing(const QString& path) {
    // OPEN_ALWAYS never truncates, so a file that appears meanwhile keeps its content.
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw systemError(path, lastSystemErrorCode());
    CloseHandle(handle);
}

// Windows will not replace a read-only file: the target's attributes are lifted for the move
// and given back to the new file, so a read-only or hidden settings file stays so.
void replaceFile(const QString& from, const QString& to, const QString& shown) {
    const std::wstring target = windowsPath(to);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!MoveFileExW(windowsPath(from).c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const long code = lastSystemErrorCode();
        if (existed)
            SetFileAttributesW(target.c_str(), attributes);
        // A file open in another program often fails the move as "access denied".
        if (code == ERROR_ACCESS_DENIED && isHeldByAnotherProgram(to))
            throw inUseError(shown);
        throw systemError(shown, code);
    }
    if (existed)
        SetFileAttributesW(target.c_str(), attributes);
}

void syncFolder(const QString&) {
    // MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
}

bool removeFile(const QString& path) {
    const std::wstring name = windowsPath(path);
    if (DeleteFileW(name.c_str()))
        return true;
    // Windows does not delete a read-only file.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    SetFileAttributesW(name.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return DeleteFileW(name.c_str());
}

void removeLeftover(const QString& path) {
    // A live copy holds its temporary file open without allowing its deletion.
    removeFile(path);
}

QByteArray fingerprint(const QString& path) {
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    const QByteArray print = fingerprintOf(handle);
    CloseHandle(handle);
    return print;
}

bool linkIsTrusted(const QString& link) {
    const DWORD attributes = GetFileAttributesW(windowsPath(link).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    PSECURITY_DESCRIPTOR linkDescriptor = nullptr;
    PSECURITY_DESCRIPTOR folderDescriptor = nullptr;
    const PSID linkOwner = ownerOf(link, linkDescriptor);
    const PSID folderOwner = ownerOf(QFileInfo(link).absolutePath(), folderDescriptor);
    bool trusted = false;
    HANDLE token = nullptr;
    if (linkOwner && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        QByteArray user(int(size), Qt::Uninitialized);
        if (GetTokenInformation(token, TokenUser, user.data(), size, &size))
            trusted = EqualSid(linkOwner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
        CloseHandle(token);
    }
    if (linkOwner && folderOwner && !trusted)
        trusted = EqualSid(linkOwner, folderOwner);
    LocalFree(linkDescriptor);
    LocalFree(folderDescriptor);
    return trusted;
}

QString folderKey(const QString& folder) {
    // Windows compares names without regard to case.
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical)
        .toCaseFolded();
}

bool isWritableByUser(const QString& path) {
    // A folder's read-only attribute only marks a customised folder; a file's is a refusal.
    const QFileInfo info(path);
    return info.isDir() || info.isWritable();
}

bool isHeldByAnotherProgram(const QString& path) {
    // Whatever shares the file without allowing it to be deleted also stops the replacing move.
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
}

bool isNameTooLong(const QString& path) {
    // NTFS and FAT take names of up to 255 UTF-16 units.
    return QFileInfo(path).fileName().size() > 255;
}

qsizetype longestPath() {
    // Windows names no folder longer than this (Wine takes some for folders all the same).
    return 32767;
}

} // namespace system_files
