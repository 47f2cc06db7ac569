// The game layer without any window, on plain folders: the apply step's refusals and its
// question, what the game holds, and the finder's time limit.
#include "recording_controls.h"
#include "test_files.h"

#include "files/kovex_error.h"
#include "game/apply_assignment.h"
#include "game/game_finder.h"
#include "game/game_places.h"
#include "game/unit_contents.h"
#include "settings/application_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The apply step as "Konfig´s zuweisen" runs it; what it throws, or nothing.
QString applied(const QString& app, const QString& game, const QString& player,
                const QString& computer, const std::function<bool(const QString&)>& ask = {}) {
    const ApplicationFiles files(app);
    try {
        applyAssignment(
            files, {game, player, computer}, ask ? ask : [](const QString&) { return false; });
        return {};
    } catch (const KovexError& error) {
        return QString("%1 %2").arg(error.number()).arg(error.description());
    }
}

} // namespace

class GameLayerTest : public QObject {
    Q_OBJECT

private slots:
    // A slot that cannot name a configuration file is refused before any file changes: not
    // even the game's own units are kept.
    void refusedSlotsChangeNoFile_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("computer");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("named");
        QTest::newRow("empty player slot") << ""
                                           << "Atlas" << 52 << "Player";
        QTest::newRow("folder in a slot") << "Atlas"
                                          << "../Atlas" << 52 << "Computer";
        QTest::newRow("dot") << "."
                             << "Atlas" << 52 << "Player";
        QTest::newRow("backslash") << "Atlas"
                                   << "a\\b" << 52 << "Computer";
        QTest::newRow("second slot's file missing") << "Atlas"
                                                    << "Nowhere" << 53 << "Nowhere.txt";
        QTest::newRow("NUL in a name") << QString("At") + QChar(0) + "las"
                                       << "Locust" << 52 << "Player-Slot";
        QTest::newRow("a name too long for the file system")
            << QString(300, 'a') << "Atlas" << 52 << "(Name zu lang)";
    }

    void refusedSlotsChangeNoFile() {
        QFETCH(QString, player);
        QFETCH(QString, computer);
        QFETCH(int, number);
        QFETCH(QString, named);
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QStringList before = kovex.files();
        const QString refusal = applied(kovex.app, kovex.game, player, computer);
        QVERIFY2(refusal.startsWith(QString::number(number) + " ") && refusal.contains(named),
                 qPrintable(refusal));
        kovex.expectUntouched();
        QCOMPARE(kovex.files(), before);
    }

    // The kept folder cannot be made (a file is in its place): the user is asked, with no
    // folder held, so that another copy of the program is never kept waiting by the question.
    // "Nein" changes nothing; "Ja" applies without keeping.
    void aKeptFolderThatCannotBeMadeIsAskedAboutWithNoLockHeld() {
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        writeFile(keptFolderOf(kovex.game), "in the way");
        QStringList asked;
        bool free = true;
        bool yes = false;
        const auto ask = [&](const QString& configs) {
            asked << configs;
            free = free && lockedByNobody({kovex.app, kovex.game + "/Mechdata"});
            return yes;
        };
        QCOMPARE(applied(kovex.app, kovex.game, "Atlas", "Locust", ask), QString());
        QCOMPARE(asked, QStringList({native(keptFolderOf(kovex.game))}));
        kovex.expectUntouched();
        yes = true;
        QCOMPARE(applied(kovex.app, kovex.game, "Atlas", "Locust", ask), QString());
        QCOMPARE(asked.size(), 2);
        QVERIFY(free);
        QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), QByteArray("atlas\r\n"));
        QCOMPARE(readFile(kovex.unit("MAD-3R_Marauder")), QByteArray("locust\r\n"));
    }

    // The game's own units are kept with the game: another copy of KOVEX on it, the game moved
    // elsewhere, and an earlier version's copy in configs/Originale all give the defaults the
    // game's own units back; nothing kept is lost.
    void theGamesOwnUnitsStayWithTheGame_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("another copy of KOVEX") << "copy";
        QTest::newRow("the game moved") << "moved";
        QTest::newRow("kept by an earlier version") << "earlier";
    }
    void theGamesOwnUnitsStayWithTheGame() {
        QFETCH(QString, how);
        QTemporaryDir base;
        Installation kovex(base.filePath("app"), base.filePath("game"));
        const Installation other(base.filePath("other"), base.filePath("unused"));
        writeFile(other.config("Beta"), "beta\r\n");
        const QString earlier =
            kovex.app + "/configs/Originale/game (" +
            QCryptographicHash::hash(game_places::folderKey(kovex.game).toUtf8(),
                                     QCryptographicHash::Sha1)
                .toHex()
                .left(8) +
            ")";
        if (how == "earlier") {
            // As an earlier version left it after its first apply.
            QVERIFY(QDir().mkpath(earlier));
            // Its later content first by name, as a folder lists them.
            writeFile(earlier + "/WHM-6K_Warhammer (2).txt", "a later warhammer\r\n");
            writeFile(earlier + "/WHM-6K_Warhammer.txt", kOriginalWarhammer);
            writeFile(earlier + "/MAD-3R_Marauder.txt", kOriginalMarauder);
            writeFile(kovex.unit("WHM-6K_Warhammer"), "atlas\r\n");
            writeFile(kovex.unit("MAD-3R_Marauder"), "locust\r\n");
        } else {
            QCOMPARE(applied(kovex.app, kovex.game, "Atlas", "Locust"), QString());
        }
        if (how == "copy") // which holds no Atlas of its own
            QCOMPARE(applied(other.app, kovex.game, "Beta", "Beta"), QString());
        if (how == "moved") {
            QVERIFY(QDir().rename(kovex.game, base.filePath("moved")));
            kovex.game = base.filePath("moved");
        }
        const Installation& restoring = how == "copy" ? other : kovex;
        QCOMPARE(applied(restoring.app, kovex.game, "WHM-6K_Warhammer", "MAD-3R_Marauder"),
                 QString());
        kovex.expectUntouched();
        QCOMPARE(readFile(keptFolderOf(kovex.game) + "/WHM-6K_Warhammer.txt"), kOriginalWarhammer);
        if (how == "earlier") {
            QCOMPARE(readFile(earlier + "/WHM-6K_Warhammer.txt"), kOriginalWarhammer);
            QCOMPARE(readFile(keptFolderOf(kovex.game) + "/WHM-6K_Warhammer (2).txt"),
                     QByteArray("a later warhammer\r\n"));
        }
    }

    // Several configurations hold the unit's bytes: the one a slot names is the one the game
    // holds, else the first by name.
    void amongEqualConfigurationsTheSlotsIsHeld() {
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        for (const QString& name : {"Alpha", "Beta", "Gamma"})
            writeFile(kovex.config(name), kOriginalWarhammer);
        const QString configs = kovex.app + "/configs";
        QCOMPARE(holdingsOf(configs, kovex.game, "Beta").player.configuration, QString("Beta"));
        QCOMPARE(holdingsOf(configs, kovex.game, "Atlas").player.configuration, QString("Alpha"));
        QCOMPARE(holdingsOf(configs, kovex.game, {}, "Gamma").player.configuration,
                 QString("Alpha"));
        QCOMPARE(holdingsOf(configs, kovex.game, "Beta").computer.kind, UnitHolding::Kind::Unknown);
    }

    // Ten thousand folders where the game would be, and the game past them: the search keeps
    // its time limit, and where time allows, finds it.
    void theFinderKeepsItsTimeLimit() {
        QTemporaryDir home;
        const QString programs = home.filePath("drive_c/Program Files");
        QVERIFY(QDir().mkpath(programs));
        for (int i = 0; i < 10000; ++i)
            QVERIFY(QDir(programs).mkdir(QString("Program %1").arg(i, 5, 10, QChar('0'))));
        const QString game = makeGame(programs + "/Velmora");
        QElapsedTimer clock;
        clock.start();
        const QString hurried =
            GameFinder::find({home.filePath("drive_c")}, 3, std::chrono::milliseconds(100));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(hurried.isEmpty() || hurried == game);
        QCOMPARE(GameFinder::find({home.filePath("drive_c")}, 3, std::chrono::seconds(60)), game);
        // A game under Wine may spell its folder and files in capitals.
        QVERIFY(QDir(game).rename("Mechdata", "MECHDATA"));
        QVERIFY(QFile::rename(game + "/MECHDATA/WHM-6K_Warhammer.txt",
                              game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"));
        QCOMPARE(GameFinder::find({home.filePath("drive_c")}, 3, std::chrono::seconds(60)), game);
    }
};

QTEST_GUILESS_MAIN(GameLayerTest)
#include "tst_game_layer.moc"
