#pragma once

#include <QString>

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

// Opens a regular file for reading without ever blocking on a named pipe or device; anything
// else is refused. Throws KovexError naming `shown`.
void openRegularForReading(QFile& file, const QString& path);

} // namespace file_checks
