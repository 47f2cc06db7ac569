#include "unit_contents.h"

#include "game_places.h"
#include "kept_originals.h"
#include "unit_files.h"

#include "files/kovex_error.h"
#include "files/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

UnitContents::UnitContents(const QString& configsFolder, const KeptOriginals& originals,
                           const QStringList& excluded) {
    QStringList left;
    for (const QString& path : excluded)
        left << game_places::folderKey(path);
    const auto add = [&](const QFileInfo& file, UnitHolding::Kind kind) {
        if (file.isFile() && !left.contains(game_places::folderKey(file.filePath())))
            m_known.append({file.filePath(), file.size(), {kind, file.fileName().chopped(4)}});
    };
    for (const QString& kept : originals.files())
        add(QFileInfo(kept), UnitHolding::Kind::GamesOwn);
    for (const QFileInfo& file :
         QDir(configsFolder)
             .entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::Name))
        add(file, UnitHolding::Kind::Configuration);
}

UnitHolding UnitContents::identify(const QByteArray& unit, const QString& preferred) const {
    UnitHolding found{UnitHolding::Kind::Unknown, {}};
    for (const Known& known : m_known) {
        QFile file(known.path);
        if (known.size != unit.size() || !file.open(QIODevice::ReadOnly) || file.readAll() != unit)
            continue;
        if (known.holding.kind == UnitHolding::Kind::GamesOwn ||
            known.holding.configuration == preferred)
            return known.holding;
        if (found.kind == UnitHolding::Kind::Unknown)
            found = known.holding;
    }
    return found;
}

GameHoldings holdingsOf(const QString& configsFolder, const QString& gameFolder,
                        const QString& playerSlot, const QString& computerSlot) {
    GameHoldings holdings;
    if (!QDir::isAbsolutePath(gameFolder) || !QFileInfo(gameFolder).isDir())
        return holdings;
    try {
        holdings.mechdata = unit_files::mechdataOf(gameFolder);
        const QStringList units{unit_files::unitFile(holdings.mechdata, unit_files::kPlayerUnit),
                                unit_files::unitFile(holdings.mechdata, unit_files::kComputerUnit)};
        const UnitContents known(configsFolder, KeptOriginals(configsFolder, gameFolder), units);
        const auto holding = [&](const QString& unit, const QString& slot) {
            return QFileInfo(unit).isFile() ? known.identify(safe_file::read(unit), slot)
                                            : UnitHolding();
        };
        holdings.player = holding(units[0], playerSlot);
        holdings.computer = holding(units[1], computerSlot);
    } catch (const KovexError&) {
        // Two spellings of one file, or a unit file that cannot be read: what the game holds
        // cannot be told. "Konfig´s zuweisen" says why.
        holdings.player = holdings.computer = {UnitHolding::Kind::Unknown, {}};
    }
    return holdings;
}
