#include "game_holdings.h"

#include "kept_originals.h"
#include "unit_files.h"

#include "files/kovex_error.h"

#include <QDir>
#include <QFileInfo>

GameHoldings holdingsOf(const QString& configsFolder, const QString& gameFolder,
                        const QString& playerSlot, const QString& computerSlot) {
    GameHoldings holdings;
    if (!QDir::isAbsolutePath(gameFolder) || !QFileInfo(gameFolder).isDir())
        return holdings;
    try {
        holdings.mechdata = unit_files::mechdataOf(gameFolder);
        const UnitContents known(configsFolder, KeptOriginals(configsFolder, gameFolder));
        holdings.player = known.identify(
            unit_files::unitFile(holdings.mechdata, unit_files::kPlayerUnit), playerSlot);
        holdings.computer = known.identify(
            unit_files::unitFile(holdings.mechdata, unit_files::kComputerUnit), computerSlot);
    } catch (const KovexError&) {
        // Two spellings of one file, or a unit file that cannot be read: what the game holds
        // cannot be told. "Konfig´s zuweisen" says why.
        holdings.player = holdings.computer = {UnitHolding::Kind::Unknown, {}};
    }
    return holdings;
}
