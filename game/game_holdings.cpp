#include "game_holdings.h"

#include "kept_originals.h"
#include "unit_files.h"

#include "settings/kovex_error.h"
#include "settings/module1.h"

#include <QDir>
#include <QFileInfo>

GameHoldings holdingsOf(const QString& appFolder, const QString& gameFolder,
                        const QString& playerSlot, const QString& computerSlot) {
    GameHoldings holdings;
    if (!QDir::isAbsolutePath(gameFolder) || !QFileInfo(gameFolder).isDir())
        return holdings;
    try {
        holdings.mechdata = unit_files::mechdataOf(gameFolder);
        const QString configs = Module1::configsFolder(appFolder);
        const UnitContents known(configs, KeptOriginals(configs, gameFolder));
        holdings.player = known.identify(
            unit_files::unitFile(holdings.mechdata, unit_files::kPlayerUnit), playerSlot);
        holdings.computer = known.identify(
            unit_files::unitFile(holdings.mechdata, unit_files::kComputerUnit), computerSlot);
    } catch (const KovexError&) {
        // Two spellings of one file: which one the game reads cannot be known.
        holdings.player = holdings.computer = {UnitHolding::Kind::Unknown, {}};
    }
    return holdings;
}
