#pragma once

#include <QStringList>

// The drives as each system names them (system_drives_posix.cpp, system_drives_win.cpp): on
// Windows the drive letters ("C:"), which the folder list takes for that drive's current
// folder; elsewhere the mounted volumes' root folders, "/" first.
namespace system_drives {

QStringList mountedDrives();

} // namespace system_drives
