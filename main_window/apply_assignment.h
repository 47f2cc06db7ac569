#pragma once

#include <QString>

class FileSystemObject;

// The game's two unit files in its Mechdata folder, and the slots' defaults.
namespace unit_files {
inline const QString kPlayerUnit = QStringLiteral("WHM-6K_Warhammer");
inline const QString kComputerUnit = QStringLiteral("MAD-3R_Marauder");
} // namespace unit_files

struct Assignment {
    QString appFolder;
    QString gameFolder;
    QString playerSlot;
    QString computerSlot;
};

// Copies the player slot's configuration over the game's player unit, then the computer's.
// Everything is checked before the first game file changes; a failed check throws and leaves
// the game folder as it was. The game's own units are first saved into configs under their own
// names when configs lacks them, so that the defaults can always put them back.
void applyAssignment(FileSystemObject& fso, const Assignment& assignment);
