#pragma once

#include <QString>

// Questions asked of a path before the program reads or replaces it, links followed as the
// file layer follows them (file_place.h).
namespace file_checks {

// A regular file, or nothing at all: what a settings or unit file may be. Folders, devices,
// named pipes and sockets are not. A link another user made is refused (KovexError 70).
bool isRegularOrMissing(const QString& path);

// Whether the two files hold the same bytes, read a piece at a time and no further than the
// first difference. One that cannot be read throws (KovexError, naming it).
bool holdSameBytes(const QString& one, const QString& other);

// The entry of the folder called name as the folder spells it: the exact spelling where it is
// there, else the one entry whose name differs only in case, as a game kept under Wine may
// spell it ("mechdata", "WHM-6K_WARHAMMER.TXT"). Neither: the exact spelling. Several: throws
// KovexError, since which one the game reads cannot be known.
QString spelledAsFound(const QString& folder, const QString& name);

} // namespace file_checks
