#include "file_errors.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

long lastSystemErrorCode() {
    return errno;
}

KovexError systemError(const QString& path, long code) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return KovexError(KovexError::DiskFull, shown);
    case EACCES:
    case EPERM:
    case EROFS:
        return KovexError(KovexError::PermissionDenied, shown);
    case EIO:
        return KovexError(KovexError::DeviceIoError, shown);
    case ENOENT:
    case ENOTDIR:
        return QFileInfo(path).absoluteDir().exists() ? KovexError(KovexError::FileNotFound, shown)
                                                      : KovexError(KovexError::PathNotFound, shown);
    case ENAMETOOLONG:
        return KovexError(KovexError::BadFileName, shown + QStringLiteral(" (Name zu lang)"));
    case ENOMEM:
        return KovexError(KovexError::OutOfMemory, shown);
    default:
        return KovexError(KovexError::PathFileAccessError, shown);
    }
}
