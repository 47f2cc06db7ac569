#include "system_files.h"

#include "file_errors.h"
#include "file_place.h"
#include "kovex_error.h"
#include "windows_path.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <windows.h>

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

// The file called name in the place's folder.
std::wstring besidePath(const FilePlace& place, const QString& name) {
    return windowsPath(place.folderPath() + QLatin1Char('/') + name);
}

// A file is not replaced while any handle to it is open, however briefly: a virus scanner's or
// the search index's look, or another copy of this program taking its fingerprint. Such a
// refusal is tried again for up to a second before it counts; a program that holds the file
// all along is reported then.
bool moveOver(const std::wstring& from, const std::wstring& target) {
    constexpr int kAttempts = 40;
    constexpr DWORD kPauseMs = 25;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD code = GetLastError();
        const bool held = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ||
                          code == ERROR_LOCK_VIOLATION;
        if (!held || attempt == kAttempts) {
            SetLastError(code); // the caller reads why
            return false;
        }
        Sleep(kPauseMs);
    }
}

} // namespace

SystemFile::~SystemFile() {
    if (isOpen())
        CloseHandle(handleOf(m_handle));
}

SystemFile::Creation SystemFile::createExclusive(const FilePlace& folder, const QString& name) {
    m_shown = folder.named();
    const HANDLE handle =
        CreateFileW(besidePath(folder, name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const long code = lastSystemErrorCode();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
            return Creation::NameTaken;
        throw systemError(m_shown, code);
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return Creation::Created;
}

void SystemFile::openForReading(const FilePlace& place) {
    m_shown = place.named();
    const QString shown = QDir::toNativeSeparators(m_shown);
    const FilePlace::Kind kind = place.kind();
    if (kind != FilePlace::Kind::Regular && kind != FilePlace::Kind::Missing)
        throw KovexError(KovexError::PathFileAccessError, shown);
    // Windows' own code tells a file that another program holds apart.
    const HANDLE handle = CreateFileW(besidePath(place, place.name()).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw systemError(m_shown, lastSystemErrorCode());
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

void SystemFile::takeOverOwnerAndPermissions(const FilePlace&) {
    // Windows keeps attributes, not modes: they go over with the move (replaceFile).
}

void SystemFile::narrowPermissionsTo(const SystemFile&) {
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

bool createFolder(const QString& path) {
    // Windows gives a new folder the permissions its parent passes on.
    return QDir().mkpath(path);
}

void createIfMissing(const FilePlace& place) {
    // OPEN_ALWAYS never truncates, so a file that appears meanwhile keeps its content.
    const HANDLE handle = CreateFileW(besidePath(place, place.name()).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw systemError(place.named(), lastSystemErrorCode());
    CloseHandle(handle);
}

// Windows will not replace a read-only file: the target's attributes are lifted for the move
// and given back to the new file, so a read-only or hidden settings file stays so.
void replaceFile(const FilePlace& place, const QString& from) {
    const std::wstring target = besidePath(place, place.name());
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!moveOver(besidePath(place, from), target)) {
        const long code = lastSystemErrorCode();
        if (existed)
            SetFileAttributesW(target.c_str(), attributes);
        // A file open in another program often fails the move as "access denied".
        if (code == ERROR_ACCESS_DENIED &&
            isHeldByAnotherProgram(place.folderPath() + QLatin1Char('/') + place.name()))
            throw inUseError(place.named());
        throw systemError(place.named(), code);
    }
    if (existed)
        SetFileAttributesW(target.c_str(), attributes);
}

void syncFolder(const FilePlace&) {
    // MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
}

QStringList entriesBeside(const FilePlace& place) {
    return QDir(place.folderPath())
        .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool removeBeside(const FilePlace& place, const QString& name) {
    const std::wstring path = besidePath(place, name);
    if (DeleteFileW(path.c_str()))
        return true;
    // Windows does not delete a read-only file.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    SetFileAttributesW(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return DeleteFileW(path.c_str());
}

void removeLeftoverBeside(const FilePlace& place, const QString& name) {
    // A live copy holds its temporary file open without allowing its deletion.
    removeBeside(place, name);
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
