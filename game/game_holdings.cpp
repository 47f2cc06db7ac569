#include "game_holdings.h"

#include "kept_originals.h"
#include "unit_files.h"

#include "files/kovex_error.h"
#include "files/safe_file.h"

#include <QDir>
#include <QFileInfo>

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
