#include "apply_assignment.h"

#include "kept_originals.h"
#include "unit_contents.h"
#include "unit_files.h"
#include "written_units.h"

#include "files/file_checks.h"
#include "files/file_errors.h"
#include "files/file_place.h"
#include "files/file_system_object.h"
#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "files/system_files.h"
#include "settings/application_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// One slot's copy: a file over one of the game's unit files.
struct UnitCopy {
    QString slotCaption;
    QString slotName;
    QString unit;
    QString source;
    QString destination;
    bool sourceIsDestination = false; // a default slot on a game with nothing kept yet
};

struct ApplyPlan {
    QString configs;
    QString mechdata;
    UnitCopy copies[2];
};

// A slot must name a file directly inside configs.
void checkSlot(const QString& caption, const QString& name) {
    const bool bad = name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
                     name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                     name.contains(QChar(0));
    if (bad)
        throw KovexError(KovexError::BadFileName,
                         QStringLiteral("%1-Slot „%2“").arg(caption, name));
}

// A game folder that is not there now (a drive not plugged in) is named as such; nothing else
// is ever taken in its place.
void checkGameFolder(const QString& gameFolder) {
    if (!QDir::isAbsolutePath(gameFolder) || !QFileInfo(gameFolder).isDir())
        throw KovexError(KovexError::PathNotFound, shown(gameFolder));
}

// The file a slot names. The name of one of the game's unit files stands for the game's own
// unit, kept for this game; where none is kept yet, for a configuration of that name, as users
// and the classic program put them into configs; and where there is none, for the game's unit
// file itself (kept just before, when it matches nothing known), so that the defaults on a
// fresh game change nothing.
void chooseSource(UnitCopy& copy, const ApplyPlan& plan, const KeptOriginals& originals) {
    const QString configuration =
        file_checks::spelledAsFound(plan.configs, copy.slotName + QStringLiteral(".txt"));
    copy.source = configuration;
    for (const QString& unit : unit_files::kUnits) {
        if (copy.slotName.compare(unit, Qt::CaseInsensitive) != 0)
            continue;
        const QString own = originals.gamesOwn(unit);
        if (!own.isEmpty()) {
            copy.source = own;
        } else if (!QFileInfo::exists(configuration)) {
            copy.source = unit_files::unitFile(plan.mechdata, unit);
            copy.sourceIsDestination = unit == copy.unit;
        }
    }
}

// Where each file is, spelt as found: a game under Wine may spell its folder and files in
// other case, and the game's own spelling is kept.
ApplyPlan plan(const Assignment& a, const QString& configs, const QString& mechdata,
               const KeptOriginals& originals) {
    ApplyPlan p;
    p.configs = configs;
    p.mechdata = mechdata;
    const QString slotNames[2] = {a.playerSlot, a.computerSlot};
    const QString captions[2] = {QStringLiteral("Player"), QStringLiteral("Computer")};
    for (int i = 0; i < 2; ++i) {
        UnitCopy& copy = p.copies[i];
        copy.slotCaption = captions[i];
        copy.slotName = slotNames[i];
        copy.unit = unit_files::kUnits[i];
        copy.destination = unit_files::unitFile(mechdata, copy.unit);
        chooseSource(copy, p, originals);
    }
    return p;
}

// Everything that can be known before a file changes: a refused apply writes nothing. The
// files are opened as they will be for the copies, so links are judged here as there.
void check(const ApplyPlan& p) {
    // Mechdata is reached as its unit files will be: a link to it is judged first.
    if (FilePlace(p.mechdata).kind() != FilePlace::Kind::Folder)
        throw KovexError(KovexError::PathNotFound, shown(p.mechdata));
    // Both sources can be read: one that cannot would stop the apply halfway.
    for (const UnitCopy& copy : p.copies) {
        if (copy.sourceIsDestination)
            continue;
        if (system_files::isNameTooLong(copy.source))
            throw KovexError(KovexError::BadFileName,
                             QStringLiteral("%1 (Name zu lang)").arg(shown(copy.source)));
        try {
            SystemFile readable;
            readable.openRegularForReading(copy.source);
        } catch (const KovexError& error) {
            // No such configuration; other refusals (no permission, a planted link) as they are.
            const bool missing = error.number() == KovexError::FileNotFound ||
                                 error.number() == KovexError::PathNotFound ||
                                 QFileInfo(copy.source).isDir();
            if (!missing)
                throw;
            throw KovexError(
                KovexError::FileNotFound,
                QStringLiteral("%1-Slot, %2").arg(copy.slotCaption, shown(copy.source)));
        }
    }
    // Both game files first: neither changes unless both can be read, kept and replaced.
    for (const UnitCopy& copy : p.copies) {
        if (!file_checks::isRegularOrMissing(copy.destination))
            throw KovexError(KovexError::PathFileAccessError, shown(copy.destination));
    }
    for (const UnitCopy& copy : p.copies) {
        if (!QFileInfo::exists(copy.destination))
            continue;
        SystemFile readable;
        readable.openRegularForReading(copy.destination);
        if (!system_files::isWritableByUser(copy.destination))
            throw KovexError(KovexError::PermissionDenied, shown(copy.destination));
        if (system_files::isHeldByAnotherProgram(copy.destination))
            throw inUseError(copy.destination);
    }
    if (!system_files::isWritableByUser(p.mechdata))
        throw KovexError(KovexError::PermissionDenied, shown(p.mechdata));
}

// Before a unit file is replaced, its content is kept for this game unless a configuration or
// a file kept for this game already holds it, so that it can always be got back. Only writing
// into the kept folder may fail here without stopping the apply: that failure is given back,
// with the files kept so far. A unit that cannot be read stops it (check() has read it).
struct Keeping {
    QStringList kept;
    std::optional<KovexError> refused;
};
Keeping keepUnknownContents(FileSystemObject& fso, const ApplyPlan& p,
                            const KeptOriginals& originals) {
    Keeping keeping;
    const QStringList destinations{p.copies[0].destination, p.copies[1].destination};
    for (const UnitCopy& copy : p.copies) {
        // Asked afresh for each: the first unit's content may just have been kept.
        const UnitContents known(p.configs, originals, destinations);
        if (known.identify(copy.destination).kind != UnitHolding::Kind::Unknown)
            continue;
        if (!system_files::createFolder(originals.folder())) {
            keeping.refused = KovexError(KovexError::PermissionDenied, shown(originals.folder()));
            return keeping;
        }
        const QString place = originals.nextPlace(copy.unit);
        keeping.refused = fso.CopyToNewFile(copy.destination, place);
        if (keeping.refused)
            return keeping;
        keeping.kept << place;
    }
    return keeping;
}

struct Outcome {
    bool applied = false;
    QStringList kept;
};

// One attempt, holding the locks: another copy of the program applying to the same game, or
// saving into the same configs, waits, or this one reports; both unit files always come from
// one apply.
Outcome applyLocked(FileSystemObject& fso, const ApplicationFiles& files, const Assignment& a,
                    const QString& mechdata, bool keepingRequired) {
    const FolderLock lock({files.folder(), mechdata});
    const KeptOriginals originals(files.configsFolder(), a.gameFolder);
    const ApplyPlan p = plan(a, files.configsFolder(), mechdata, originals);
    check(p);
    originals.migrate(fso);
    const Keeping keeping = keepUnknownContents(fso, p, originals);
    if (keeping.refused && keepingRequired) {
        // The user is asked first; until then nothing changes.
        for (const QString& file : keeping.kept)
            QFile::remove(file);
        return {};
    }
    QList<FileSystemObject::Copy> copies;
    QList<QByteArray> sourcesBefore;
    for (const UnitCopy& copy : p.copies) {
        if (copy.sourceIsDestination)
            continue;
        copies.append({copy.source, copy.destination});
        sourcesBefore.append(system_files::fingerprint(copy.source));
    }
    if (!copies.isEmpty())
        fso.CopyFilesTogether(copies);
    for (qsizetype i = 0; i < copies.size(); ++i)
        WrittenUnits::ofThisRun().record(copies[i].destination, copies[i].source, sourcesBefore[i]);
    return {true, keeping.kept};
}

} // namespace

std::optional<QStringList>
applyAssignment(const ApplicationFiles& files, const Assignment& assignment,
                const std::function<bool(const QString&)>& askWithoutOriginals) {
    checkSlot(QStringLiteral("Player"), assignment.playerSlot);
    checkSlot(QStringLiteral("Computer"), assignment.computerSlot);
    checkGameFolder(assignment.gameFolder);
    const QString mechdata = unit_files::mechdataOf(assignment.gameFolder);
    const auto fso = files.createFileSystemObject();
    const Outcome first = applyLocked(*fso, files, assignment, mechdata, true);
    if (first.applied)
        return first.kept;
    const QString kept = KeptOriginals(files.configsFolder(), assignment.gameFolder).folder();
    if (!askWithoutOriginals(shown(kept)))
        return std::nullopt;
    return applyLocked(*fso, files, assignment, mechdata, false).kept;
}
