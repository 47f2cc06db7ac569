#include "file_checks.h"

#include "file_errors.h"
#include "kovex_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace file_checks {

QString resolveLinks(const QString& path) {
    QString current = path;
    for (int hops = 0; hops < 32; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
}

bool isRegularOrMissing(const QString& path) {
    const QFileInfo info(resolveLinks(path));
    return !info.exists() || info.isFile();
}

bool isWritableByUser(const QString& path) {
#ifdef Q_OS_WIN
    // A folder's read-only attribute only marks a customised folder; a file's is a refusal.
    const QFileInfo info(path);
    return info.isDir() || info.isWritable();
#else
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
#endif
}

bool isHeldByAnotherProgram(const QString& path) {
#ifdef Q_OS_WIN
    // Whatever shares the file without allowing it to be deleted also stops the replacing move.
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
#else
    // Linux replaces an open file: whoever holds it keeps reading the old content.
    Q_UNUSED(path);
    return false;
#endif
}

QString spelledAsFound(const QString& folder, const QString& name) {
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    QStringList matches;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::System |
                                                       QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches << entry;
    if (matches.size() > 1)
        throw KovexError(
            KovexError::PathFileAccessError,
            QStringLiteral("%1 (mehrdeutig: %2)")
                .arg(QDir::toNativeSeparators(exact), matches.join(QStringLiteral(", "))));
    return matches.isEmpty() ? exact : folder + QLatin1Char('/') + matches.first();
}

void openRegularForReading(QFile& file, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
#ifdef Q_OS_WIN
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        throw KovexError(KovexError::PathFileAccessError, shown);
    // Opened here, so that Windows' own code tells a file that another program holds apart.
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw windowsError(path, GetLastError());
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        throw KovexError(KovexError::PathFileAccessError, shown);
    }
    if (!openFromHandle(file, handle, QIODevice::ReadOnly))
        throw KovexError(KovexError::PathFileAccessError, shown);
#else
    // Non-blocking, so that a named pipe does not wait for a writer; checked on the open file,
    // so that nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw systemError(path);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw KovexError(KovexError::PathFileAccessError, shown);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw fileError(file, path);
    }
#endif
}

#ifdef Q_OS_WIN
std::wstring windowsPath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

bool openFromHandle(QFile& file, void* handle, QIODevice::OpenMode mode) {
    const int fd =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                        ((mode & QIODevice::WriteOnly) ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return false;
    }
    if (file.open(fd, mode, QFileDevice::AutoCloseHandle))
        return true;
    _close(fd);
    return false;
}
#endif

} // namespace file_checks
