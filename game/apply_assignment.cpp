#include "apply_assignment.h"

#include "kept_originals.h"
#include "unit_contents.h"
#include "written_units.h"

#include "settings/file_checks.h"
#include "settings/file_errors.h"
#include "settings/file_system_object.h"
#include "settings/folder_lock.h"
#include "settings/kovex_error.h"
#include "settings/module1.h"
#include "settings/system_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
ApplyPlan plan(const Assignment& a, const QString& mechdata, const KeptOriginals& originals) {
    ApplyPlan p;
    p.configs = Module1::configsFolder(a.appFolder);
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

// Everything that can be known before a file changes: a refused apply writes nothing.
void check(const ApplyPlan& p) {
    file_checks::refuseForeignLinks(p.mechdata);
    if (!QFileInfo(p.mechdata).isDir())
        throw KovexError(KovexError::PathNotFound, shown(p.mechdata));
    for (const UnitCopy& copy : p.copies) {
        file_checks::refuseForeignLinks(copy.destination);
        file_checks::refuseForeignLinks(copy.source);
    }
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
            // No such configuration; other refusals (a name too long, no permission) as they are.
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
    // Both game files first: neither changes unless both can be replaced.
    for (const UnitCopy& copy : p.copies) {
        if (!file_checks::isRegularOrMissing(copy.destination))
            throw KovexError(KovexError::PathFileAccessError, shown(copy.destination));
    }
    for (const UnitCopy& copy : p.copies) {
        if (QFileInfo::exists(copy.destination) &&
            !system_files::isWritableByUser(copy.destination))
            throw KovexError(KovexError::PermissionDenied, shown(copy.destination));
        if (system_files::isHeldByAnotherProgram(copy.destination))
            throw inUseError(copy.destination);
    }
    if (!system_files::isWritableByUser(p.mechdata))
        throw KovexError(KovexError::PermissionDenied, shown(p.mechdata));
}

// Before a unit file is replaced, its content is kept for this game unless a configuration or
// a file kept for this game already holds it, so that it can always be got back. When configs
// cannot take it, the user decides whether to go on without; false when the apply is to stop,
// with nothing kept.
bool keepUnknownContents(FileSystemObject& fso, const ApplyPlan& p, const KeptOriginals& originals,
                         const std::function<bool(const QString&)>& askWithoutOriginals) {
    if (!QFileInfo(p.configs).isDir())
        return true; // no configuration can come from there either
    const QStringList destinations{p.copies[0].destination, p.copies[1].destination};
    QStringList kept;
    try {
        for (const UnitCopy& copy : p.copies) {
            // Asked afresh for each: the first unit's content may just have been kept.
            const UnitContents known(p.configs, originals, destinations);
            if (known.identify(copy.destination).kind != UnitHolding::Kind::Unknown)
                continue;
            if (!QDir().mkpath(originals.folder()))
                throw KovexError(KovexError::PermissionDenied, shown(originals.folder()));
            const QString place = originals.nextPlace(copy.unit);
            fso.CopyFile(copy.destination, place, false);
            kept << place;
        }
    } catch (const KovexError&) {
        if (askWithoutOriginals(shown(p.configs)))
            return true;
        for (const QString& file : kept)
            QFile::remove(file);
        return false;
    }
    return true;
}

} // namespace

void applyAssignment(FileSystemObject& fso, const Assignment& assignment,
                     const std::function<bool(const QString&)>& askWithoutOriginals) {
    checkSlot(QStringLiteral("Player"), assignment.playerSlot);
    checkSlot(QStringLiteral("Computer"), assignment.computerSlot);
    checkGameFolder(assignment.gameFolder);
    const QString mechdata = unit_files::mechdataOf(assignment.gameFolder);
    // Another copy of the program applying to the same game, or saving into the same configs,
    // waits, or this one reports: both unit files always come from one apply.
    const FolderLock lock({assignment.appFolder, mechdata});
    const KeptOriginals originals(Module1::configsFolder(assignment.appFolder),
                                  assignment.gameFolder);
    const ApplyPlan p = plan(assignment, mechdata, originals);
    check(p);
    if (!keepUnknownContents(fso, p, originals, askWithoutOriginals))
        return;
    QList<FileSystemObject::Copy> copies;
    QList<QByteArray> sourcesBefore;
    for (const UnitCopy& copy : p.copies) {
        if (copy.sourceIsDestination)
            continue;
        copies.append({copy.source, copy.destination});
        sourcesBefore.append(system_files::fingerprint(copy.source));
    }
    if (copies.isEmpty())
        return;
    fso.CopyFilesTogether(copies);
    for (qsizetype i = 0; i < copies.size(); ++i)
        WrittenUnits::ofThisRun().record(copies[i].destination, copies[i].source, sourcesBefore[i]);
}
