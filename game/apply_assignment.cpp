#include "apply_assignment.h"

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

// One slot's copy: its configuration file over one of the game's unit files.
struct UnitCopy {
    QString slotCaption;
    QString slotName;
    QString source;
    QString destination;
    QString original; // where configs keeps the game's own unit
    bool keepOriginal = false;
    bool sourceKeptFirst = false; // the source is an original that is kept just before
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

// Where each file is, spelt as found: a game under Wine may spell its folder and files in
// other case, and the game's own spelling is kept, in Mechdata and for the originals.
ApplyPlan plan(const Assignment& a) {
    checkSlot(QStringLiteral("Player"), a.playerSlot);
    checkSlot(QStringLiteral("Computer"), a.computerSlot);
    using file_checks::spelledAsFound;
    ApplyPlan p;
    p.configs = Module1::configsFolder(a.appFolder);
    p.mechdata = spelledAsFound(a.gameFolder, QStringLiteral("Mechdata"));
    const auto copy = [&](const QString& caption, const QString& slot, const QString& unit) {
        UnitCopy c{caption,
                   slot,
                   spelledAsFound(p.configs, slot + QStringLiteral(".txt")),
                   spelledAsFound(p.mechdata, unit + QStringLiteral(".txt")),
                   {}};
        c.original = spelledAsFound(p.configs, QFileInfo(c.destination).fileName());
        return c;
    };
    p.copies[0] = copy(QStringLiteral("Player"), a.playerSlot, unit_files::kPlayerUnit);
    p.copies[1] = copy(QStringLiteral("Computer"), a.computerSlot, unit_files::kComputerUnit);
    // The game's own units are kept in configs under their own names when configs lacks them.
    const bool configsThere = QFileInfo(p.configs).isDir();
    for (UnitCopy& c : p.copies)
        c.keepOriginal =
            configsThere && !QFileInfo::exists(c.original) && QFileInfo(c.destination).isFile();
    // A default slot's file may be the game's own unit, kept just before the copies.
    for (UnitCopy& c : p.copies)
        for (const UnitCopy& kept : p.copies)
            if (kept.keepOriginal && !QFileInfo::exists(c.source) &&
                c.source.compare(kept.original, Qt::CaseInsensitive) == 0) {
                c.source = kept.original;
                c.sourceKeptFirst = true;
            }
    return p;
}

// Everything that can be known before a file changes: a refused apply writes nothing.
void check(const ApplyPlan& p) {
    if (!QFileInfo(p.mechdata).isDir())
        throw KovexError(KovexError::PathNotFound, shown(p.mechdata));
    for (const UnitCopy& copy : p.copies) {
        if (!QFileInfo(copy.source).isFile() && !copy.sourceKeptFirst)
            throw KovexError(
                KovexError::FileNotFound,
                QStringLiteral("%1-Slot, %2").arg(copy.slotCaption, shown(copy.source)));
    }
    // Both configurations can be read: one that cannot would stop the apply halfway.
    for (const UnitCopy& copy : p.copies) {
        if (copy.sourceKeptFirst)
            continue;
        SystemFile source;
        source.openRegularForReading(copy.source);
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

// Keeps the game's own units where "Standard wiederherstellen" finds them; a file of that
// name already in configs is never replaced. When configs cannot take them, the user decides
// whether to go on without; false when the apply is to stop, with nothing kept.
bool keepOriginals(FileSystemObject& fso, const ApplyPlan& p,
                   const std::function<bool(const QString&)>& askWithoutOriginals) {
    QStringList kept;
    try {
        for (const UnitCopy& copy : p.copies) {
            if (!copy.keepOriginal)
                continue;
            fso.CopyFile(copy.destination, copy.original, false);
            kept << copy.original;
        }
    } catch (const KovexError&) {
        if (askWithoutOriginals(shown(p.configs)))
            return true;
        for (const QString& original : kept)
            QFile::remove(original);
        return false;
    }
    return true;
}

void copyUnits(FileSystemObject& fso, const ApplyPlan& p) {
    for (const UnitCopy& copy : p.copies)
        fso.CopyFile(copy.source, copy.destination, true);
}

} // namespace

void applyAssignment(FileSystemObject& fso, const Assignment& assignment,
                     const std::function<bool(const QString&)>& askWithoutOriginals) {
    // Another copy of the program applying to the same game, or saving into the same configs,
    // waits, or this one reports: both unit files always come from one apply.
    const FolderLock gameLock(FolderLock::Purpose::Apply, assignment.gameFolder);
    const FolderLock appLock(FolderLock::Purpose::Settings, assignment.appFolder);
    const ApplyPlan p = plan(assignment);
    check(p);
    if (keepOriginals(fso, p, askWithoutOriginals))
        copyUnits(fso, p);
}
