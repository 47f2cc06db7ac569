#pragma once

#include <QStringList>

// The game's two unit files in its Mechdata folder, and the slots' defaults.
namespace unit_files {

inline const QString kPlayerUnit = QStringLiteral("WHM-6K_Warhammer");
inline const QString kComputerUnit = QStringLiteral("MAD-3R_Marauder");
inline const QStringList kUnits = {kPlayerUnit, kComputerUnit};

// The entry of the folder called name as the folder spells it: the exact spelling where it is
// there, else the one entry whose name differs only in case, as a game kept under Wine may spell
// it ("MECHDATA", "WHM-6K_WARHAMMER.TXT"); neither, the exact spelling. Several: which one the
// game reads cannot be known, and KovexError 75 says so.
QString spelledAsFound(const QString& folder, const QString& name);
// The game's folder of unit files, as the game spells it.
QString mechdataOf(const QString& gameFolder);
// A unit file of the game, as the game spells it.
QString unitFile(const QString& mechdata, const QString& unit);

} // namespace unit_files
