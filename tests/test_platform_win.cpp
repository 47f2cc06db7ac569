#include "test_platform.h"

#include <QDir>
#include <QRegularExpression>

#include <windows.h>

namespace test_platform {

namespace {

std::wstring wide(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

QString otherSpellingOf(const QString& folder, const QString&) {
    return folder.toUpper();
}

QColor inactiveTitleBarText() {
    const DWORD system = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    return QColor(GetRValue(system), GetGValue(system), GetBValue(system));
}

bool menuBarInTheWindowFont() {
    return false;
}

bool drivesNamedAsTheSystemDoes(const QStringList& drives) {
    static const QRegularExpression letter(QStringLiteral("^[A-Z]:$"));
    for (const QString& drive : drives)
        if (!letter.match(drive).hasMatch())
            return false;
    return !drives.isEmpty();
}

quint64 fileIdOf(const QString& path) {
    const HANDLE handle = CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return known ? (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow : 0;
}

void markAsKept(const QString& path) {
    SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

bool isStillMarked(const QString& path) {
    return (GetFileAttributesW(wide(path).c_str()) &
            (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY)) == FILE_ATTRIBUTE_HIDDEN;
}

bool hasNamedPipes() {
    return false;
}

bool makeNamedPipe(const QString&) {
    return false;
}

} // namespace test_platform
