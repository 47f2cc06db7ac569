#pragma once

#include <QString>

// Questions asked of a path before the program reads or replaces it. Symbolic links are
// followed: what counts is the file they lead to.
namespace file_checks {

// The file that really holds the content, following links even when it does not exist yet.
QString resolveLinks(const QString& path);

// Refuses (KovexError 70, naming the link) a path that is, or leads through, a symbolic link
// made by neither this user nor the owner of the folder that holds it: one that another user
// planted to make this one write or show a file of their choice. Links the user made are
// followed as ever.
void refuseForeignLinks(const QString& path);

// A regular file, or nothing at all: what a settings or unit file may be. Folders, devices,
// named pipes and sockets are not.
bool isRegularOrMissing(const QString& path);

// The entry of the folder called name as the folder spells it: the exact spelling where it is
// there, else the one entry whose name differs only in case, as a game kept under Wine may
// spell it ("mechdata", "WHM-6K_WARHAMMER.TXT"). Neither: the exact spelling. Several: throws
// KovexError, since which one the game reads cannot be known.
QString spelledAsFound(const QString& folder, const QString& name);

} // namespace file_checks
