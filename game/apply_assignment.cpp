#include "apply_assignment.h"

#include "kept_originals.h"
#include "unit_files.h"

#include "files/file_system.h"
#include "files/folder_lock.h"
#include "files/safe_file.h"
#include "settings/application_files.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace {

// A slot must name a file directly inside configs, of a name a file system takes.
void checkSlot(const QString& caption, const QString& name) {
    const bool tooLong = (name + QStringLiteral(".txt")).toUtf8().size() > 255;
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QChar(0)) || tooLong)
        throw KovexError(KovexError::BadFileName,
                         QStringLiteral("%1-Slot „%2“%3")
                             .arg(caption, name, tooLong ? QStringLiteral(" (Name zu lang)") : ""));
}

// One of the game's unit files: what it holds, and what its slot gives it.
struct Unit {
    QString path; // as the game spells it
    std::optional<QByteArray> held;
    QByteArray given;
    bool unchanged = false; // the slot names the game's own unit, and nothing else holds it
    bool gamesNow = false;  // what it holds came from the game, as far as the record tells
    bool keep = false;      // what it holds is known nowhere else
};

struct KeepingRefused {};

// The file a slot names, and its bytes. The name of one of the game's unit files stands for the
// game's own unit: what the unit file holds where that came from the game, else the one kept for
// this game; where none is kept yet, for a configuration of that name, as users and the classic
// program put them into configs; and where there is none, for the game's unit file itself, read
// before anything changes.
void give(Unit* units, int slot, const QString& name, const QString& configs,
          const KeptOriginals& originals) {
    const QString caption = slot ? QStringLiteral("Computer") : QStringLiteral("Player");
    const QString configuration =
        unit_files::spelledAsFound(configs, name + QStringLiteral(".txt"));
    QString source = configuration;
    for (int unit = 0; unit < 2; ++unit) {
        if (name.compare(unit_files::kUnits[unit], Qt::CaseInsensitive) != 0)
            continue;
        source = originals.gamesOwn(unit_files::kUnits[unit]);
        if (units[unit].gamesNow ||
            (source.isEmpty() && !QFileInfo::exists(configuration) && units[unit].held)) {
            units[slot].given = *units[unit].held;
            units[slot].unchanged = unit == slot;
            return;
        }
        if (source.isEmpty())
            source = configuration;
    }
    try {
        units[slot].given = safe_file::read(source);
    } catch (const KovexError& error) {
        // No such configuration; other refusals (no permission, a planted link) as they are.
        if (error.number() != KovexError::FileNotFound &&
            error.number() != KovexError::PathNotFound && !QFileInfo(source).isDir())
            throw;
        throw KovexError(
            KovexError::FileNotFound,
            QStringLiteral("%1-Slot, %2").arg(caption, QDir::toNativeSeparators(source)));
    }
}

ApplyOutcome applyHeld(const ApplicationFiles& files, const Assignment& a, const QString& mechdata,
                       bool keeping) {
    const QString configs = files.configsFolder();
    KeptOriginals originals(configs, a.gameFolder);
    originals.migrate();
    Unit units[2];
    QStringList paths;
    for (int i = 0; i < 2; ++i) {
        units[i].path = unit_files::unitFile(mechdata, unit_files::kUnits[i]);
        paths << units[i].path;
        if (QFileInfo::exists(units[i].path) || QFileInfo(units[i].path).isSymLink())
            units[i].held = safe_file::read(units[i].path);
    }
    UnitContents known(configs, originals, paths);
    for (int i = 0; i < 2; ++i) {
        if (!units[i].held || originals.wroteLast(unit_files::kUnits[i], *units[i].held))
            continue;
        const UnitHolding holding = known.identify(*units[i].held);
        units[i].keep = keeping && holding.kind == UnitHolding::Kind::Unknown;
        // What is neither a configuration nor what KOVEX wrote there came from the game.
        units[i].gamesNow =
            originals.knowsWrites() && holding.kind != UnitHolding::Kind::Configuration;
        if (units[i].gamesNow && holding.kind == UnitHolding::Kind::GamesOwn)
            originals.setFound(holding.configuration + QStringLiteral(".txt"));
    }
    if (units[0].keep && units[0].held == units[1].held)
        units[1].keep = false; // one content, kept once
    // The slots, with what the game holds now settled: a game updated since the last apply
    // keeps its update under the defaults.
    give(units, 0, a.playerSlot, configs, originals);
    give(units, 1, a.computerSlot, configs, originals);

    // Both new units written beside their files first: what refuses them refuses it all.
    std::unique_ptr<SafeWrite> writes[2];
    for (int i = 0; i < 2; ++i) {
        if (units[i].unchanged)
            continue;
        // A unit file made read-only is kept as it is: the game, or its player, wants it so.
        if (units[i].held && !QFileInfo(units[i].path).isWritable())
            throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(units[i].path));
        writes[i] = std::make_unique<SafeWrite>(units[i].path);
        writes[i]->write(units[i].given);
    }
    ApplyOutcome outcome{{}, {}, originals.folder()};
    std::unique_ptr<SafeWrite> record;
    try {
        std::vector<std::unique_ptr<SafeWrite>> keeps;
        for (int i = 0; i < 2; ++i) {
            if (!units[i].keep)
                continue;
            safe_file::createFolder(originals.folder());
            const QString place = originals.nextPlace(unit_files::kUnits[i]);
            keeps.push_back(std::make_unique<SafeWrite>(place));
            keeps.back()->write(*units[i].held);
            keeps.back()->narrowTo(units[i].path); // never more readable than the game's file
            keeps.back()->prepare();
            known.addKept(place, *units[i].held);
            outcome.kept << QFileInfo(place).fileName();
            if (units[i].gamesNow)
                originals.setFound(outcome.kept.last());
        }
        for (const auto& kept : keeps)
            kept->commit();
    } catch (const KovexError&) {
        throw KeepingRefused{};
    }
    try {
        for (int i = 0; i < 2; ++i)
            if (writes[i])
                originals.setWritten(unit_files::kUnits[i], units[i].given);
        if (keeping) {
            safe_file::createFolder(originals.folder());
            record = std::make_unique<SafeWrite>(originals.recordPath());
            record->write(originals.record());
            record->prepare();
        }
    } catch (const KovexError&) {
        // A game folder that takes no record keeps nothing either; the units go all the same.
        record.reset();
    }

    for (const auto& write : writes)
        if (write)
            write->prepare();
    if (writes[0])
        writes[0]->commit();
    try {
        if (writes[1])
            writes[1]->commit();
    } catch (const KovexError&) {
        // Both units or neither: the first gets back what it held.
        if (writes[0] && units[0].held)
            SafeWrite::whole(units[0].path, *units[0].held);
        else if (writes[0])
            QFile::remove(units[0].path);
        throw;
    }
    try {
        // Only after both units: a record of bytes that never reached them would have the next
        // apply take what they still hold for the game's own.
        if (record)
            record->commit();
    } catch (const KovexError&) {
        // The units are the game's now; the next apply takes what it finds for the game's own
        // where it is no configuration.
    }
    outcome.holdings = {mechdata, known.identify(units[0].given, a.playerSlot),
                        known.identify(units[1].given, a.computerSlot),
                        originals.gamesOwn(unit_files::kPlayerUnit),
                        originals.gamesOwn(unit_files::kComputerUnit)};
    return outcome;
}

} // namespace

std::optional<ApplyOutcome>
applyAssignment(const ApplicationFiles& files, const Assignment& assignment,
                const std::function<bool(const QString&)>& askWithoutOriginals) {
    checkSlot(QStringLiteral("Player"), assignment.playerSlot);
    checkSlot(QStringLiteral("Computer"), assignment.computerSlot);
    // A game folder that is not there now (a drive not plugged in) is named as such; nothing
    // else is ever taken in its place.
    if (!QDir::isAbsolutePath(assignment.gameFolder) || !QFileInfo(assignment.gameFolder).isDir())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(assignment.gameFolder));
    const QString mechdata = unit_files::mechdataOf(assignment.gameFolder);
    file_system::refuseForeignLinks(mechdata);
    if (!QFileInfo(mechdata).isDir())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(mechdata));
    for (bool keeping = true;;) {
        {
            const FolderLock lock(mechdata);
            try {
                return applyHeld(files, assignment, mechdata, keeping);
            } catch (const KeepingRefused&) {
            }
        }
        // Asked while no folder is held: another copy is never kept waiting by the question.
        const QString kept = KeptOriginals(files.configsFolder(), assignment.gameFolder).folder();
        if (!askWithoutOriginals(QDir::toNativeSeparators(kept)))
            return std::nullopt;
        keeping = false;
    }
}
