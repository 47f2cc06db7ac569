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

} // namespace system_drives
