#pragma once

#include "kovex_error.h"

#include <QDir>

#include <functional>

// What the file layer does differently on Linux and Windows (file_system_posix.cpp,
// file_system_win.cpp).
namespace file_system {

// The program's error for the system call that failed just before, for the file at path: read
// at once, from errno on Linux and from GetLastError on Windows, and given the classic number.
// Qt names "not found" and "permission denied" alike; the system's own code tells them apart.
KovexError lastError(const QString& path);

// A file another program holds open, as the game does with its unit files while it runs.
inline KovexError inUseError(const QString& path) {
    return KovexError(KovexError::PermissionDenied,
                      QStringLiteral("%1 (wird gerade von einem anderen Programm benutzt)")
                          .arg(QDir::toNativeSeparators(path)));
}

// A symbolic link on the path, anywhere on it, is followed only when this user or root made it:
// one another user made may have been planted to make this user read or write a file of the
// other's choice, and is refused (KovexError 70, naming the link). Checked just before the file
// is opened; in a folder that others may write, a link put in between stays possible. Windows
// lets only administrators make such links, and follows them all.
void refuseForeignLinks(const QString& path);

// Started as root, KOVEX writes nowhere another user can change: where the file or a folder on
// its way belongs to another user, or others may write such a folder without its sticky bit,
// the write is refused (KovexError 70, naming that file or folder). For every other user, and
// on Windows, nothing is refused here.
void refuseSharedPlaces(const QString& path);

// What Qt leaves out when it replaces the file, read before and done after: on Linux its folder
// synced, so that the rename survives a power loss; on Windows the file's hidden, system and
// archive attributes kept (NTFS journals the rename; QSaveFile flushed the data before it).
std::function<void()> finishReplace(const QString& path);

// Whether the file can be replaced now. Windows refuses while any other program holds it open,
// if only for a moment (a virus scanner, the search index, another copy's look): such a hold is
// waited out for up to a second. The game holding its unit files is not.
bool waitUntilReplaceable(const QString& path);

} // namespace file_system
