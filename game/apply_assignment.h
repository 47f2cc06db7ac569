#pragma once

#include "unit_contents.h"

#include <QStringList>
#include <functional>
#include <optional>

class ApplicationFiles;

struct Assignment {
    QString gameFolder;
    QString playerSlot;
    QString computerSlot;
};

// What an apply did: what the game holds now, and the files kept on the way, by name.
struct ApplyOutcome {
    GameHoldings holdings;
    QStringList kept;
    QString keptIn; // their folder
};

// Copies the player slot's configuration over the game's player unit, and the computer's over
// the computer unit, both or neither, in one trip while another copy of KOVEX is kept out of
// Mechdata: read the two units and the two sources once, decide in memory what to keep, write
// both new units beside their files, keep what the units hold where nothing else does
// (KeptOriginals), then replace both; should the second replace fail, the first unit gets its
// bytes back. A refusal throws before any file changes. A slot that names one of the game's
// unit files stands for this game's own unit.
//
// Where the game folder cannot keep the units, askWithoutOriginals (given that folder) decides
// whether to apply all the same; it is asked while no folder is held, and the trip starts again.
// Gives back nothing when the user chose not to apply.
std::optional<ApplyOutcome>
applyAssignment(const ApplicationFiles& files, const Assignment& assignment,
                const std::function<bool(const QString&)>& askWithoutOriginals);
