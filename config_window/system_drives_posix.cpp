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

int driveHolding(const QStringList& drives, const QString& path) {
    // The deepest volume that holds the path.
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives.size(); ++i) {
        const QString root = QDir::cleanPath(drives[i]);
        const bool holds = target == root || root == QDir::rootPath() ||
                           target.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace system_drives
