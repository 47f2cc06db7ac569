// What is in the game: known, shown and confirmed through the main window; the game's own units
// never lost, game by game; no apply before a game folder is chosen; and a game found where
// players keep it.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/brief_notice.h"
#include "controls/list_box.h"
#include "game/game_finder.h"
#include "game/game_places.h"
#include "main_window/form1.h"

#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

// What the main window says of the game: the rows marked, and the tool tips.
struct Shown {
    QString playerRow;   // the row marked for the player, or ""
    QString computerRow; // the row marked for the computer, or ""
    QString playerTip;
    QString computerTip;
};

Shown shownIn(Form1& f) {
    Shown shown;
    for (int row = 0; row < f.List1->ListCount(); ++row) {
        const QList<bool> held =
            f.List1->model()->index(row, 0).data(Qt::UserRole + 1).value<QList<bool>>();
        if (held.value(0))
            shown.playerRow = f.List1->List(row);
        if (held.value(1))
            shown.computerRow = f.List1->List(row);
    }
    shown.playerTip = f.player->toolTip();
    shown.computerTip = f.computer->toolTip();
    return shown;
}

// Waits until the program has looked at the game after its window came up.
void waitUntilUp(Harness& h) {
    QTRY_VERIFY(!h.form1().Command4->toolTip().isEmpty());
}

// A fake home folder with a game installed under Wine, and a Steam library with a Proton
// prefix, as players have them.
struct FakeHome {
    QTemporaryDir home;
    QString makeGame(const QString& folder) const {
        const QString game = home.filePath(folder);
        QDir().mkpath(game + "/Mechdata");
        writeFile(game + "/Mechdata/WHM-6K_Warhammer.txt", kOriginalWarhammer);
        writeFile(game + "/Mechdata/MAD-3R_Marauder.txt", kOriginalMarauder);
        return QDir::cleanPath(game);
    }
};

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    // The game's own units, a configuration, and a unit changed outside KOVEX: the window says
    // which, in the marked rows and the tool tips, and to a screen reader.
    void theThreeStatesOfAUnitFile() {
        Harness h;
        GameFixture g(h);
        g.start();
        waitUntilUp(h);
        Form1& f = h.form1();
        Shown shown = shownIn(f);
        QCOMPARE(shown.playerRow, QString());
        QCOMPARE(shown.playerTip, QString::fromUtf8("Im Spiel für den Player: unbekannt (keine der "
                                                    "Konfigurationen)"));
        QCOMPARE(f.Command4->toolTip(),
                 QString("Schreibt nach %1").arg(native(g.game + "/Mechdata")));

        g.applyWith("Locust", "Atlas");
        shown = shownIn(f);
        QCOMPARE(shown.playerRow, QString("Locust"));
        QCOMPARE(shown.computerRow, QString("Atlas"));
        QCOMPARE(shown.playerTip, QString::fromUtf8("Im Spiel für den Player: „Locust“"));
        QCOMPARE(shown.computerTip, QString::fromUtf8("Im Spiel für den Computer: „Atlas“"));
        QCOMPARE(f.player->accessibleDescription(), shown.playerTip);
        QCOMPARE(f.List1->model()->index(0, 0).data(Qt::AccessibleDescriptionRole).toString(),
                 QString::fromUtf8("Im Spiel für Computer"));
        renderToPng(&f, "form1_game_holds.png");

        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QTest::mouseClick(f.Command4, Qt::LeftButton);
        shown = shownIn(f);
        QCOMPARE(shown.playerRow, QString());
        QCOMPARE(shown.playerTip, QString::fromUtf8("Im Spiel für den Player: Original des Spiels "
                                                    "(„WHM-6K_Warhammer“)"));
        QCOMPARE(shown.computerTip, QString::fromUtf8("Im Spiel für den Computer: Original des "
                                                      "Spiels („MAD-3R_Marauder“)"));

        // Changed by hand while KOVEX runs: seen when the main window is active again.
        writeFile(g.unit("MAD-3R_Marauder"), "edited by hand\r\n");
        writeFile(g.unit("WHM-6K_Warhammer"), readFile(g.config("Atlas")));
        h.form2().show();
        h.form2().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.form2()));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        shown = shownIn(f);
        QCOMPARE(shown.playerRow, QString("Atlas"));
        QCOMPARE(shown.computerRow, QString());
        QCOMPARE(shown.computerTip, QString::fromUtf8("Im Spiel für den Computer: unbekannt "
                                                      "(keine der Konfigurationen)"));
        QVERIFY(h.errors.isEmpty());
    }

    // After an apply the window says, without a click, what went where.
    void anApplyIsConfirmed() {
        Harness h;
        GameFixture g(h);
        g.start();
        waitUntilUp(h);
        g.applyWith("Atlas", "WHM-6K_Warhammer");
        BriefNotice* notice = h.form1().notice();
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(),
                 QString::fromUtf8("Zugewiesen in %1:\nPlayer: „Atlas“\nComputer: Original des "
                                   "Spiels („WHM-6K_Warhammer“)")
                     .arg(native(g.game + "/Mechdata")));
        // The window with the notice where it shows, for looking at.
        QImage picture(h.form1().size() + QSize(0, notice->height() + 8), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawImage(0, 0, h.form1().grab().toImage());
        painter.drawImage(h.form1().mapFromGlobal(notice->pos()), notice->grab().toImage());
        painter.end();
        QVERIFY(picture.save(QStringLiteral(KOVEX_SCREENSHOT_DIR) + "/form1_confirmed.png"));
        // A click puts it away; a refusal stays a report, and confirms nothing.
        QTest::mouseClick(notice, Qt::LeftButton);
        QVERIFY(!notice->isVisible());
        g.applyWith("Atlas", "Nowhere");
        QCOMPARE(h.errors.size(), 1);
        QVERIFY(!notice->isVisible());
    }

    // Two games whose own units differ: each keeps its own, and the defaults give each its
    // own back; no unit content is ever lost.
    void twoGamesKeepTheirOwnUnits() {
        Harness h;
        GameFixture first(h);
        GameFixture second(h, h.appPath("second game"));
        writeFile(second.unit("WHM-6K_Warhammer"), "updated warhammer\r\n");
        writeFile(second.unit("MAD-3R_Marauder"), "updated marauder\r\n");
        first.start();
        waitUntilUp(h);

        first.applyWith("Atlas", "Locust");
        h.form2().Dir1->setPath(second.game);
        second.applyWith("Locust", "Atlas");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(second.unitBytes("WHM-6K_Warhammer"), QByteArray("locust\0bytes", 12));

        second.applyTheDefaults();
        QCOMPARE(second.unitBytes("WHM-6K_Warhammer"), QByteArray("updated warhammer\r\n"));
        QCOMPARE(second.unitBytes("MAD-3R_Marauder"), QByteArray("updated marauder\r\n"));
        h.form2().Dir1->setPath(first.game);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        first.expectGameUntouched();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(h.appPath("configs/Originale"))
                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                     .size(),
                 2);

        // A unit changed outside KOVEX to something nothing else holds is kept before it is
        // replaced, beside the game's own.
        writeFile(second.unit("MAD-3R_Marauder"), "hand-made marauder\r\n");
        h.form2().Dir1->setPath(second.game);
        second.applyWith("Atlas", "Atlas");
        const QStringList kept =
            QDir(h.appPath("configs/Originale")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QByteArrayList everything;
        for (const QString& game : kept)
            for (const QString& file :
                 QDir(h.appPath("configs/Originale/" + game)).entryList(QDir::Files))
                everything << readFile(h.appPath("configs/Originale/" + game + "/" + file));
        for (const QByteArray& content :
             {kOriginalWarhammer, kOriginalMarauder, QByteArray("updated warhammer\r\n"),
              QByteArray("updated marauder\r\n"), QByteArray("hand-made marauder\r\n")})
            QVERIFY2(everything.contains(content), content.constData());
        QCOMPARE(everything.size(), 5);
        QVERIFY(h.errors.isEmpty());
    }

    // Files put into configs under the default names, by users or the classic program, still
    // work: the defaults copy them where the game has nothing of its own kept.
    void configurationsUnderTheDefaultNamesStillWork() {
        Harness h;
        GameFixture g(h);
        writeFile(g.unit("WHM-6K_Warhammer"), "atlas bytes\r\n");
        writeFile(g.config("WHM-6K_Warhammer"), "classic warhammer\r\n");
        g.start();
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), QByteArray("classic warhammer\r\n"));
        QCOMPARE(g.unitBytes("MAD-3R_Marauder"), kOriginalMarauder);
    }

    // Before any game folder was chosen or stored, "Konfig´s zuweisen" says so in plain words
    // and points to the way; once "OK" took the folder shown, it applies there.
    void noGameFolderChosenYet() {
        Harness h;
        GameFixture g(h);
        h.writeAppFile("units.ini", "Atlas\r\nLocust\r\n");
        h.start();
        waitUntilUp(h);
        QCOMPARE(h.form1().Command4->toolTip(),
                 QString::fromUtf8("Noch kein Spielordner gewählt: „Datei“ → „Konfigurieren“"));
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.notices,
                 QStringList(QString::fromUtf8(
                     "Es ist noch kein Spielordner gewählt.\n\nBitte zuerst unter „Datei“ → "
                     "„Konfigurieren“ den Installationspfad von Velmora angeben und mit „OK“ "
                     "bestätigen.")));
        QVERIFY(h.errors.isEmpty());
        g.expectGameUntouched();

        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        h.form2().Dir1->showSuggested(g.game); // as found, not chosen
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.notices.size(), 2);
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        QTRY_COMPARE(h.form1().Command4->toolTip(),
                     QString("Schreibt nach %1").arg(native(g.game + "/Mechdata")));
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.notices.size(), 2);
        QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(native(g.game).toUtf8() + "\r\n"));
    }

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
        SKIP_ON_WINDOWS("Wine and Steam folders in a Linux home; Windows looks in Program Files");
        QFETCH(QString, installed);
        FakeHome fake;
        QDir().mkpath(fake.home.filePath(".local/share/Steam/steamapps"));
        writeFile(fake.home.filePath(".local/share/Steam/steamapps/libraryfolders.vdf"),
                  QString("\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"%1\"\n\t}\n}\n")
                      .arg(fake.home.filePath("Spiele/SteamLibrary"))
                      .toUtf8());
        QDir().mkpath(fake.home.filePath(".steam"));
        QFile::link(fake.home.filePath(".local/share/Steam"), fake.home.filePath(".steam/steam"));
        // Something that looks like a game but is not: one unit file only.
        QDir().mkpath(fake.home.filePath(".wine/drive_c/Program Files/Other/Mechdata"));
        writeFile(fake.home.filePath(".wine/drive_c/Program Files/Other/Mechdata/"
                                     "WHM-6K_Warhammer.txt"),
                  "x");
        const QString game = fake.makeGame(installed);
        QDir().mkpath(fake.home.filePath("Spiele/SteamLibrary/steamapps/common"));
        const QString found = GameFinder::find(game_places::usualPlaces(fake.home.path()), 3,
                                               std::chrono::seconds(10));
        QCOMPARE(QFileInfo(found).canonicalFilePath(), QFileInfo(game).canonicalFilePath());
    }

    // On Windows the game is looked for in the Program Files folders.
    void theFinderLooksInProgramFiles() {
#ifndef Q_OS_WIN
        QSKIP("Windows only: the Program Files folders; Linux looks in Wine and Steam folders");
#else
        const QStringList places = game_places::usualPlaces({});
        QVERIFY2(!places.isEmpty(), "no Program Files folder");
        QVERIFY(places.contains("C:/Program Files", Qt::CaseInsensitive));
        const QString game = places.first() + "/Velmora Demo Alpha (Test)";
        QVERIFY(QDir().mkpath(game + "/Mechdata"));
        writeFile(game + "/Mechdata/WHM-6K_Warhammer.txt", kOriginalWarhammer);
        writeFile(game + "/Mechdata/MAD-3R_Marauder.txt", kOriginalMarauder);
        const QString found = GameFinder::find(places, 3, std::chrono::seconds(30));
        QDir(game).removeRecursively();
        QCOMPARE(found.toLower(), QDir::cleanPath(game).toLower());
#endif
    }

    // Ten thousand folders where the game would be, and the game past them: the search keeps
    // its time limit, and where time allows, finds it.
    void theFinderKeepsItsTimeLimit() {
        FakeHome fake;
        const QString programs = fake.home.filePath("drive_c/Program Files");
        QVERIFY(QDir().mkpath(programs));
        for (int i = 0; i < 10000; ++i)
            QVERIFY(QDir(programs).mkdir(QString("Program %1").arg(i, 5, 10, QChar('0'))));
        const QString game = fake.makeGame("drive_c/Program Files/Velmora");
        QElapsedTimer clock;
        clock.start();
        const QString hurried =
            GameFinder::find({fake.home.filePath("drive_c")}, 3, std::chrono::milliseconds(100));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(hurried.isEmpty() || hurried == game);
        QCOMPARE(GameFinder::find({fake.home.filePath("drive_c")}, 3, std::chrono::seconds(60)),
                 game);
    }

    // With no game folder stored, the program looks after its window is up, and the
    // configuration window then opens on the game found; "OK" takes it.
    void aGameFoundOpensTheConfigurationWindowOnIt() {
        FakeHome fake;
        const QString game = fake.makeGame("Spiele/Velmora Demo Alpha");
        Harness h;
        h.app->setGamePlaces([&] { return QStringList{fake.home.filePath("Spiele")}; });
        h.start();
        QTRY_COMPARE_WITH_TIMEOUT(h.form2().suggestedGameFolder(), game, 10000);
        QVERIFY(!h.form2().Dir1->isChosen());
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QCOMPARE(h.form2().Dir1->Path(), game);
        QVERIFY(h.form2().Dir1->tree()->currentItem()->toolTip(0).contains("OK"));
        renderToPng(&h.form2(), "form2_game_found.png");
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        QVERIFY(h.form2().Dir1->isChosen());
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(native(game).toUtf8() + "\r\n"));
    }
};

QTEST_MAIN(GameTest)
#include "tst_game.moc"
