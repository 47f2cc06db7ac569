#include "system_drives.h"

#include "mount_table.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStorageInfo>

namespace system_drives {

QStringList mountedDrives() {
    QStringList roots;
    // Read once and in one pass: Qt's own volume list asks the whole mount table again for
    // every volume, which takes seconds with thousands of mounts.
    QFile mountInfo(QStringLiteral("/proc/self/mountinfo"));
    if (mountInfo.open(QIODevice::ReadOnly))
        roots = drivesInMountTable(mountInfo.readAll());
    if (roots.isEmpty()) {
        QSet<QString> seen;
        for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
            if (volume.isValid() && !seen.contains(volume.rootPath())) {
                seen.insert(volume.rootPath());
                roots.append(volume.rootPath());
            }
        }
    }
    roots.sort();
    const QString top = QDir::rootPath();
    roots.removeAll(top);
    roots.prepend(top);
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
