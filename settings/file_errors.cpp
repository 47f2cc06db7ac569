#include "file_errors.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

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
