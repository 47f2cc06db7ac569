#include "file_errors.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

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
#ifndef Q_OS_WIN
    if (code == ENOSPC || code == EDQUOT)
        return KovexError(KovexError::DiskFull, shown);
    if (code == EACCES || code == EPERM || code == EROFS)
        return KovexError(KovexError::PermissionDenied, shown);
    if (code == EIO)
        return KovexError(KovexError::DeviceIoError, shown);
    if (code == ENOENT && !QFileInfo(path).absoluteDir().exists())
        return KovexError(KovexError::PathNotFound, shown);
    if (code == ENOENT)
        return KovexError(KovexError::FileNotFound, shown);
#else
    Q_UNUSED(code);
#endif
    if (file)
        return fileError(*file, path);
    return KovexError(KovexError::PathFileAccessError, shown);
}
