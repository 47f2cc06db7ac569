#include "system_drives.h"

#include <QDir>
#include <QStorageInfo>

namespace system_drives {

QStringList mountedDrives() {
    // The volumes Qt lists, not the system's own file systems; the root first.
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    roots.sort();
    roots.removeAll(QDir::rootPath());
    roots.prepend(QDir::rootPath());
    return roots;
}

} // namespace system_drives
