#pragma once

#include <QString>
#include <functional>

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

// Copies the player slot's configuration over the game's player unit, then the computer's, in
// four stages: plan both copies, check everything (both names, Mechdata, both sources, both
// destinations), keep the game's originals, copy. A failed check throws and nothing is
// written anywhere. The game's own units are kept in configs under their own names when configs
// lacks them, so that the defaults can always put them back; when configs cannot take them,
// askWithoutOriginals (given the configs folder) decides whether to copy all the same.
void applyAssignment(FileSystemObject& fso, const Assignment& assignment,
                     const std::function<bool(const QString&)>& askWithoutOriginals);
