#include "game_places.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace {

QString knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

} // namespace

namespace game_places {

QStringList usualPlaces(const QString&) {
    QStringList places;
    for (const QString& folder :
         {knownFolder(FOLDERID_ProgramFilesX86), knownFolder(FOLDERID_ProgramFiles)})
        if (!folder.isEmpty() && QFileInfo(folder).isDir() && !places.contains(folder))
            places << folder;
    return places;
}

QString folderKey(const QString& folder) {
    // Windows compares names without regard to case.
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical)
        .toCaseFolded();
}

} // namespace game_places
