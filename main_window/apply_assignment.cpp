#include "apply_assignment.h"

#include "settings/file_system_object.h"
#include "settings/kovex_error.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A slot must name a file directly inside configs.
void checkSlot(const QString& slotCaption, const QString& name) {
    const bool bad = name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
                     name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                     name.contains(QChar(0));
    if (bad)
        throw KovexError(KovexError::BadFileName,
                         QStringLiteral("%1-Slot „%2“").arg(slotCaption, name));
}

struct UnitCopy {
    QString slotCaption;
    QString source;
    QString unitName;
    QString destination;
};

} // namespace

void applyAssignment(FileSystemObject& fso, const Assignment& a) {
    checkSlot(QStringLiteral("Player"), a.playerSlot);
    checkSlot(QStringLiteral("Computer"), a.computerSlot);

    const QString configs = a.appFolder + QStringLiteral("/configs");
    const QString mechdata = a.gameFolder + QStringLiteral("/Mechdata");
    if (!QFileInfo(mechdata).isDir())
        throw KovexError(KovexError::PathNotFound, shown(mechdata));

    const UnitCopy copies[] = {
        {QStringLiteral("Player"),
         configs + QLatin1Char('/') + a.playerSlot + QStringLiteral(".txt"),
         unit_files::kPlayerUnit, mechdata + QLatin1Char('/') + unit_files::kPlayerUnit + ".txt"},
        {QStringLiteral("Computer"),
         configs + QLatin1Char('/') + a.computerSlot + QStringLiteral(".txt"),
         unit_files::kComputerUnit,
         mechdata + QLatin1Char('/') + unit_files::kComputerUnit + ".txt"},
    };
    for (const UnitCopy& copy : copies) {
        if (QFileInfo(copy.destination).isDir())
            throw KovexError(KovexError::PathFileAccessError, shown(copy.destination));
    }

    // Keep the game's own units where "Standard wiederherstellen" finds them; an existing
    // file of that name in configs is never replaced.
    if (QFileInfo(configs).isDir()) {
        for (const UnitCopy& copy : copies) {
            const QString original = configs + QLatin1Char('/') + copy.unitName + ".txt";
            if (!QFileInfo::exists(original) && QFileInfo(copy.destination).isFile())
                fso.CopyFile(copy.destination, original, false);
        }
    }

    for (const UnitCopy& copy : copies) {
        if (!QFileInfo(copy.source).isFile())
            throw KovexError(
                KovexError::FileNotFound,
                QStringLiteral("%1-Slot, %2").arg(copy.slotCaption, shown(copy.source)));
    }

    for (const UnitCopy& copy : copies)
        fso.CopyFile(copy.source, copy.destination, true);
}
