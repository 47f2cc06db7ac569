#pragma once

#include <QIODevice>
#include <QString>

#include <string>

class QFile;

// Questions asked of a path before the program reads or replaces it. Symbolic links are
// followed: what counts is the file they lead to.
namespace file_checks {

// The file that really holds the content, following links even when it does not exist yet.
QString resolveLinks(const QString& path);

// A regular file, or nothing at all: what a settings or unit file may be. Folders, devices,
// named pipes and sockets are not.
bool isRegularOrMissing(const QString& path);

// Whether this user may write the file, or create files in the folder. Root may write
// everything on a writable file system.
bool isWritableByUser(const QString& path);

// Whether another program holds the file open so that it cannot be replaced now (Windows: the
// game running with its unit files open).
bool isHeldByAnotherProgram(const QString& path);

// The entry of the folder called name as the folder spells it: the exact spelling where it is
// there, else the one entry whose name differs only in case, as a game kept under Wine may
// spell it ("mechdata", "WHM-6K_WARHAMMER.TXT"). Neither: the exact spelling. Several: throws
// KovexError, since which one the game reads cannot be known.
QString spelledAsFound(const QString& folder, const QString& name);

// Opens a regular file for reading without ever blocking on a named pipe or device; anything
// else is refused. Throws KovexError naming the path.
void openRegularForReading(QFile& file, const QString& path);

#ifdef Q_OS_WIN
// The path as Windows' own calls take it.
std::wstring windowsPath(const QString& path);

// Hands an open Windows file handle to the QFile, which closes it from then on. False when that
// fails; the handle is closed then too.
bool openFromHandle(QFile& file, void* handle, QIODevice::OpenMode mode);
#endif

} // namespace file_checks
