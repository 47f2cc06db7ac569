#pragma once

#include <QStringList>

// Where games are usually installed, each system's in a file of its own (game_places_posix.cpp,
// game_places_win.cpp): on Linux the Wine prefixes in the home folder, and the Proton prefixes
// and common folders of the Steam libraries; on Windows the Program Files folders.
namespace game_places {

// The places under the given home folder (Linux) or of the system (Windows), most likely
// first; a missing one holds no game.
QStringList usualPlaces(const QString& home);
// The same text for every spelling of one folder, as the system compares names.
QString folderKey(const QString& folder);

} // namespace game_places
