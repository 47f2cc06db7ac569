// Where a game is looked for on Windows: the Program Files folders.
#include "test_files.h"

#include "game/game_finder.h"
#include "game/game_places.h"

#include <QDir>
#include <QTest>

class GamePlacesTest : public QObject {
    Q_OBJECT

private slots:
    void theFinderLooksInProgramFiles() {
        const QStringList places = game_places::usualPlaces({});
        QVERIFY2(!places.isEmpty(), "no Program Files folder");
        QVERIFY(places.contains("C:/Program Files", Qt::CaseInsensitive));
        const QString game = makeGame(places.first() + "/Velmora Demo Alpha (Test)");
        const QString found = GameFinder::find(places, 3, std::chrono::seconds(30));
        QDir(game).removeRecursively();
        QCOMPARE(found.toLower(), game.toLower());
    }
};

QTEST_GUILESS_MAIN(GamePlacesTest)
#include "tst_game_places_win.moc"
