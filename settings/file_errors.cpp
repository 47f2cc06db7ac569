#include "file_errors.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

KovexError fileError(const QFileDevice& file, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return KovexError(KovexError::DiskFull, shown);
    case QFileDevice::PermissionsError:
        return KovexError(KovexError::PermissionDenied, shown);
    case QFileDevice::ReadError:
    case QFileDevice::WriteError:
        return KovexError(KovexError::DeviceIoError, shown);
    default:
        break;
    }
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return KovexError(KovexError::PathNotFound, shown);
    return KovexError(KovexError::PathFileAccessError, shown);
}

KovexError systemError(const QString& path, const QFileDevice* file) {
    const int code = errno;
    const QString shown = QDir::toNativeSeparators(path);
#ifdef EDQUOT
    if (code == EDQUOT)
        return KovexError(KovexError::DiskFull, shown);
#endif
    if (code == ENOSPC)
        return KovexError(KovexError::DiskFull, shown);
    if (code == EACCES || code == EPERM || code == EROFS)
        return KovexError(KovexError::PermissionDenied, shown);
    if (code == EIO)
        return KovexError(KovexError::DeviceIoError, shown);
    if (code == ENOENT && !QFileInfo(path).absoluteDir().exists())
        return KovexError(KovexError::PathNotFound, shown);
    if (code == ENOENT)
        return KovexError(KovexError::FileNotFound, shown);
    if (file)
        return fileError(*file, path);
    return KovexError(KovexError::PathFileAccessError, shown);
}

KovexError inUseError(const QString& path) {
    return KovexError(KovexError::PermissionDenied,
                      QStringLiteral("%1 (wird gerade von einem anderen Programm benutzt)")
                          .arg(QDir::toNativeSeparators(path)));
}

#ifdef Q_OS_WIN
KovexError windowsError(const QString& path, unsigned long code) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return KovexError(KovexError::DiskFull, shown);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return inUseError(path);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return KovexError(KovexError::PermissionDenied, shown);
    case ERROR_FILE_NOT_FOUND:
        return KovexError(KovexError::FileNotFound, shown);
    case ERROR_PATH_NOT_FOUND:
        return KovexError(KovexError::PathNotFound, shown);
    case ERROR_NOT_READY:
        return KovexError(KovexError::DeviceUnavailable, shown);
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return KovexError(KovexError::DeviceIoError, shown);
    default:
        return KovexError(KovexError::PathFileAccessError, shown);
    }
}
#endif
