// Where a game is looked for on Linux: the Wine prefixes and Steam libraries of a home folder.
#include "test_files.h"

#include "game/game_finder.h"
#include "game/game_places.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class GamePlacesTest : public QObject {
    Q_OBJECT

private slots:
    // The usual places of a home folder: Wine prefixes and Steam libraries, those listed in
    // the library file too; a game is found in each.
    void theFinderLooksWherePlayersKeepGames_data() {
        QTest::addColumn<QString>("installed");
        QTest::newRow("Wine") << ".wine/drive_c/Program Files/Velmora Demo Alpha";
        QTest::newRow("a Wine prefix of its own")
            << ".local/share/wineprefixes/velmora/drive_c/Games/Velmora";
        QTest::newRow("Proton") << ".steam/steam/steamapps/compatdata/4711/pfx/drive_c/Program "
                                   "Files (x86)/Velmora";
        QTest::newRow("a Steam game") << ".local/share/Steam/steamapps/common/Velmora Demo Alpha";
        QTest::newRow("another Steam library") << "Spiele/SteamLibrary/steamapps/common/Velmora";
    }
    void theFinderLooksWherePlayersKeepGames() {
        QFETCH(QString, installed);
        QTemporaryDir home;
        QDir().mkpath(home.filePath(".local/share/Steam/steamapps"));
        writeFile(home.filePath(".local/share/Steam/steamapps/libraryfolders.vdf"),
                  QString("\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"%1\"\n\t}\n}\n")
                      .arg(home.filePath("Spiele/SteamLibrary"))
                      .toUtf8());
        QDir().mkpath(home.filePath(".steam"));
        QFile::link(home.filePath(".local/share/Steam"), home.filePath(".steam/steam"));
        // Something that looks like a game but is not: one unit file only.
        QDir().mkpath(home.filePath(".wine/drive_c/Program Files/Other/Mechdata"));
        writeFile(home.filePath(".wine/drive_c/Program Files/Other/Mechdata/WHM-6K_Warhammer.txt"),
                  "x");
        const QString game = makeGame(home.filePath(installed));
        QDir().mkpath(home.filePath("Spiele/SteamLibrary/steamapps/common"));
        const QString found =
            GameFinder::find(game_places::usualPlaces(home.path()), 3, std::chrono::seconds(10));
        QCOMPARE(QFileInfo(found).canonicalFilePath(), QFileInfo(game).canonicalFilePath());
    }
};

QTEST_GUILESS_MAIN(GamePlacesTest)
#include "tst_game_places_posix.moc"
