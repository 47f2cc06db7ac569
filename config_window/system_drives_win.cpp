#include "system_drives.h"

#include <QDir>
#include <QFileInfo>

namespace system_drives {

QStringList mountedDrives() {
    // Drive letters, as the game's players know them.
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives())
        roots.append(drive.path().left(2).toUpper());
    roots.sort();
    return roots;
}

int driveHolding(const QStringList& drives, const QString& path) {
    // The drive letter, in either case; a network path has none.
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    if (target.size() < 2 || target[1] != QLatin1Char(':'))
        return -1;
    return drives.indexOf(target.left(2).toUpper());
}

} // namespace system_drives
