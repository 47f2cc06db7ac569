#include "file_place.h"

#include "kovex_error.h"
#include "windows_path.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <aclapi.h>

namespace {

// Links a chain may hold, as the system allows.
constexpr int kMostLinks = 63;

// The owner of a link itself, not of what it leads to; null when unknown. Freed with LocalFree.
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

bool isThisUser(PSID owner) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray user(int(size), Qt::Uninitialized);
    const bool same = GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
                      EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
    CloseHandle(token);
    return same;
}

// Made by this user, or by the system's own accounts (an administrator's links belong to the
// Administrators group), which could write anywhere anyway.
bool isTrusted(const QString& link) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const PSID owner = ownerOf(link, descriptor);
    const bool trusted = owner && (isThisUser(owner) || IsWellKnownSid(owner, WinLocalSystemSid) ||
                                   IsWellKnownSid(owner, WinBuiltinAdministratorsSid));
    LocalFree(descriptor);
    return trusted;
}

bool isLink(const QString& path) {
    const DWORD attributes = GetFileAttributesW(windowsPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           QFileInfo(path).isSymbolicLink();
}

} // namespace

// Windows' calls take paths; the place is the file's own once its links are followed.
FilePlace::FilePlace(const QString& path) : m_named(path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int links = 0; isLink(current); ++links) {
        if (!isTrusted(current))
            throw KovexError(KovexError::PermissionDenied,
                             QStringLiteral("%1 (Verknüpfung eines anderen Benutzers)")
                                 .arg(QDir::toNativeSeparators(current)));
        if (links >= kMostLinks)
            throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(current));
        current = QFileInfo(current).symLinkTarget();
    }
    const QFileInfo file(current);
    if (!file.absoluteDir().exists())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path));
    m_folderPath = file.absolutePath();
    m_name = file.fileName();
}

FilePlace::~FilePlace() = default;

FilePlace::Kind FilePlace::kind() const {
    const QString path = m_folderPath + QLatin1Char('/') + m_name;
    const DWORD attributes = GetFileAttributesW(windowsPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Kind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Kind::Folder;
    if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
        return Kind::Other;
    return Kind::Regular;
}
