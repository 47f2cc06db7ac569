#pragma once

#include "unit_contents.h"

#include <QString>

// What the game in a game folder holds, for each of its two unit files.
struct GameHoldings {
    QString mechdata; // where "Konfig´s zuweisen" writes; empty where the game folder is not there
    UnitHolding player;
    UnitHolding computer;
};

// Looks at the game's unit files now, against the configurations in configs and the units kept
// for the game. The slots' configurations are preferred where several hold the same bytes.
GameHoldings holdingsOf(const QString& configsFolder, const QString& gameFolder,
                        const QString& playerSlot = {}, const QString& computerSlot = {});
