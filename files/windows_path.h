#pragma once

#include <QDir>
#include <QString>

#include <string>

// A path as Windows' own calls take it. For the Windows files only.
inline std::wstring windowsPath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}
