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
        // Only a file of a unit's name can be that unit, reached through a link.
        const bool unitsName =
            unit_files::kUnits.contains(file.completeBaseName(), Qt::CaseInsensitive);
        if (file.isFile() && !(unitsName && left.contains(game_places::folderKey(file.filePath()))))
            m_known.append({file.filePath(), file.size(), {kind, file.fileName().chopped(4)}, {}});
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
    // Every file is read into this one buffer: fresh memory for each of a thousand files would
    // cost several times the reading. One byte more tells a file grown since it was listed.
    QByteArray buffer(unit.size() + 1, Qt::Uninitialized);
    const QByteArrayView bytes = QByteArrayView(buffer).first(unit.size());
    const auto read = [&](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) &&
               file.read(buffer.data(), buffer.size()) == unit.size();
    };
    const size_t hash = qHash(unit);
    for (const Known& known : m_known) {
        if (known.size != unit.size())
            continue;
        if (!known.hash)
            known.hash = read(known.path) ? qHash(bytes) : 0;
        // The hash passes over the others quickly; a file that may hold the unit is compared whole.
        if (*known.hash != hash || !read(known.path) || bytes != unit)
            continue;
        if (known.holding.kind == UnitHolding::Kind::GamesOwn ||
            known.holding.configuration == preferred)
            return known.holding;
        if (found.kind == UnitHolding::Kind::Unknown)
            found = known.holding;
    }
    return found;
}

void UnitContents::addKept(const QString& path, const QByteArray& bytes) {
    m_known.prepend({path,
                     bytes.size(),
                     {UnitHolding::Kind::GamesOwn, QFileInfo(path).fileName().chopped(4)},
                     qHash(bytes)});
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
        if (!QFileInfo::exists(units[0]) && !QFileInfo::exists(units[1]))
            return holdings; // nothing to look at: not a game, or not yet
        const KeptOriginals originals(configsFolder, gameFolder);
        holdings.playerDefault = originals.gamesOwn(unit_files::kPlayerUnit);
        holdings.computerDefault = originals.gamesOwn(unit_files::kComputerUnit);
        const UnitContents known(configsFolder, originals, units);
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
