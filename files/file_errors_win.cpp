#include "file_errors.h"

#include <QDir>

#include <windows.h>

long lastSystemErrorCode() {
    return long(GetLastError());
}

KovexError systemError(const QString& path, long code) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (DWORD(code)) {
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
    case ERROR_FILENAME_EXCED_RANGE:
        return KovexError(KovexError::BadFileName, shown + QStringLiteral(" (Name zu lang)"));
    case ERROR_NOT_READY:
        return KovexError(KovexError::DeviceUnavailable, shown);
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return KovexError(KovexError::DeviceIoError, shown);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return KovexError(KovexError::OutOfMemory, shown);
    default:
        return KovexError(KovexError::PathFileAccessError, shown);
    }
}
