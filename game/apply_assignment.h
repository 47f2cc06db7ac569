#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ApplicationFiles;

struct Assignment {
    QString gameFolder;
    QString playerSlot;
    QString computerSlot;
};

// Copies the player slot's configuration over the game's player unit, and the computer's over
// the computer unit, both or neither: plan both copies, check everything (both names, the game
// folder, Mechdata, both sources, both destinations, each unit readable), keep what the unit
// files hold where nothing else does (KeptOriginals), then write both new units whole before
// either replaces its file. A failed check throws and nothing is written anywhere. A slot that
// names one of the game's unit files stands for this game's own unit.
//
// When the kept folder cannot take a content, askWithoutOriginals (given that folder) decides
// whether to copy all the same. It is asked while no lock is held, so that another copy of the
// program is never kept waiting by the question; everything is then looked at afresh. Gives
// back the files kept, or nothing when the user chose not to apply.
std::optional<QStringList>
applyAssignment(const ApplicationFiles& files, const Assignment& assignment,
                const std::function<bool(const QString&)>& askWithoutOriginals);
