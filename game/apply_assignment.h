#pragma once

#include <QString>
#include <functional>

class FileSystemObject;

#include "unit_files.h"

struct Assignment {
    QString appFolder;
    QString gameFolder;
    QString playerSlot;
    QString computerSlot;
};

// Copies the player slot's configuration over the game's player unit, and the computer's over
// the computer unit, both or neither: plan both copies, check everything (both names, the game
// folder, Mechdata, both sources, both destinations, links), keep what the unit files hold
// where nothing else does (KeptOriginals), then write both new units whole before either
// replaces its file. A failed check throws and nothing is written anywhere. A slot that names
// one of the game's unit files stands for this game's own unit. When configs cannot keep a
// content, askWithoutOriginals (given the configs folder) decides whether to copy all the same.
void applyAssignment(FileSystemObject& fso, const Assignment& assignment,
                     const std::function<bool(const QString&)>& askWithoutOriginals);
