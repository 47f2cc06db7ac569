// What is in the game: known, shown and confirmed through the main window; the game's own units
// never lost, game by game; no apply before a game folder is chosen; and a game found where
// players keep it.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/brief_notice.h"
#include "controls/list_box.h"
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
        const QString restores = QString::fromUtf8("\n„Standard wiederherstellen“ holt zurück: ");
        QCOMPARE(shown.playerTip, QString::fromUtf8("Im Spiel für den Player: „Locust“") +
                                      restores + native(g.kept("WHM-6K_Warhammer")));
        QCOMPARE(shown.computerTip, QString::fromUtf8("Im Spiel für den Computer: „Atlas“") +
                                        restores + native(g.kept("MAD-3R_Marauder")));
        QCOMPARE(f.player->accessibleDescription(), shown.playerTip);
        QCOMPARE(f.List1->model()->index(0, 0).data(Qt::AccessibleDescriptionRole).toString(),
                 QString::fromUtf8("Im Spiel für Computer"));
        // Each mark at the end of its row, in its slot's colour.
        const QImage rows = f.List1->viewport()->grab().toImage();
        const auto marked = [&](int row, Qt::GlobalColor hue) {
            const QRect rect = f.List1->visualRect(f.List1->model()->index(row, 0));
            int left = rect.right(), right = rect.left();
            for (int x = rect.left(); x <= rect.right(); ++x)
                for (int y = rect.top(); y <= rect.bottom(); ++y) {
                    const QColor c = rows.pixelColor(x, y);
                    const int mine = hue == Qt::green ? c.green() : c.red();
                    const int others = hue == Qt::green ? c.red() + c.blue() : c.green() + c.blue();
                    if (mine > 100 && others < mine / 2)
                        left = qMin(left, x), right = qMax(right, x);
                }
            return right > rect.right() - 8 && left > rect.center().x();
        };
        QVERIFY(marked(1, Qt::green) && marked(0, Qt::red));
        QVERIFY(!marked(0, Qt::green) && !marked(1, Qt::red));
        renderToPng(&f, "form1_game_holds.png");
        // Another configuration with the same bytes: the one the slot names is marked.
        writeFile(g.config("Twin"), readFile(g.config("Atlas")));
        f.List1->AddItem("Twin");
        g.applyWith("Locust", "Twin");
        QCOMPARE(shownIn(f).computerRow, QString("Twin"));

        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QTest::mouseClick(f.Command4, Qt::LeftButton);
        shown = shownIn(f);
        QCOMPARE(shown.playerRow, QString());
        QCOMPARE(shown.playerTip, QString::fromUtf8("Im Spiel für den Player: Original des Spiels "
                                                    "(„WHM-6K_Warhammer“)") +
                                      restores + native(g.kept("WHM-6K_Warhammer")));
        QVERIFY(shown.computerTip.startsWith(QString::fromUtf8(
            "Im Spiel für den Computer: Original des Spiels („MAD-3R_Marauder“)\n")));

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
                                                      "(keine der Konfigurationen)") +
                                        restores + native(g.kept("MAD-3R_Marauder")));
        // A file ".txt" holds the computer's unit: no row is marked for it, not an empty one.
        writeFile(g.config(""), readFile(g.unit("MAD-3R_Marauder")));
        f.List1->AddItem("");
        f.showGameHoldings();
        QCOMPARE(shownIn(f).computerRow, QString());
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
        // A screen reader reads its words (the alert itself needs a platform bridge).
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(notice);
        QCOMPARE(heard->text(QAccessible::Name) + ": " + heard->text(QAccessible::Description),
                 "Meldung: " + notice->text());
        QCOMPARE(notice->text(),
                 QString::fromUtf8("Zugewiesen in %1:\nPlayer: „Atlas“\nComputer: Original des "
                                   "Spiels („WHM-6K_Warhammer“)\nAufbewahrt in %2: "
                                   "WHM-6K_Warhammer.txt, MAD-3R_Marauder.txt")
                     .arg(native(g.game + "/Mechdata"), native(keptFolderOf(g.game))));
        // The window with the notice where it shows, for looking at.
        QImage picture(h.form1().size() + QSize(0, notice->height() + 8), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawImage(0, 0, h.form1().grab().toImage());
        painter.drawImage(h.form1().mapFromGlobal(notice->pos()), notice->grab().toImage());
        painter.end();
        QVERIFY(picture.save(QStringLiteral(KOVEX_SCREENSHOT_DIR) + "/form1_confirmed.png"));
        // It goes away by itself, or at a click; a refusal stays a report, and confirms nothing.
        QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 12000);
        g.applyWith("Atlas", "Locust");
        QVERIFY(notice->isVisible());
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
        QCOMPARE(filesIn(keptFolderOf(first.game)),
                 QStringList({"KOVEX-Verlauf.dat", "MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));

        // A unit changed outside KOVEX to something nothing else holds is kept before it is
        // replaced, beside the game's own.
        writeFile(second.unit("MAD-3R_Marauder"), "hand-made marauder\r\n");
        h.form2().Dir1->setPath(second.game);
        second.applyWith("Atlas", "Atlas");
        QByteArrayList everything;
        for (const QString& game : {first.game, second.game})
            for (const QString& file : QDir(keptFolderOf(game)).entryList({"*.txt"}))
                everything << readFile(keptFolderOf(game) + "/" + file);
        for (const QByteArray& content :
             {kOriginalWarhammer, kOriginalMarauder, QByteArray("updated warhammer\r\n"),
              QByteArray("updated marauder\r\n"), QByteArray("hand-made marauder\r\n")})
            QVERIFY2(everything.contains(content), content.constData());
        QCOMPARE(everything.size(), 5);
        QVERIFY(h.errors.isEmpty());
    }

    // The game updates its units between two applies, or rolls them back: the defaults restore
    // the game's own found last, the slots' tool tips say which, and nothing found before goes.
    // What KOVEX wrote is never taken for the game's own, a configuration edited since included.
    void theDefaultsFollowTheGamesUpdates() {
        Harness h;
        GameFixture g(h);
        g.start();
        waitUntilUp(h);
        const QString units[2] = {"WHM-6K_Warhammer", "MAD-3R_Marauder"};
        const QByteArrayList v1{kOriginalWarhammer, kOriginalMarauder};
        const QByteArrayList v2{"warhammer v2\r\n", "marauder v2\r\n"};
        const auto gameWrites = [&](const QByteArrayList& bytes) {
            for (int i = 0; i < 2; ++i)
                writeFile(g.unit(units[i]), bytes[i]);
        };
        const auto held = [&] {
            return QByteArrayList{g.unitBytes(units[0]), g.unitBytes(units[1])};
        };
        const auto kept = [&] { return QDir(keptFolderOf(g.game)).entryList({"*.txt"}).size(); };
        g.applyWith("Atlas", "Locust");
        gameWrites(v2);
        g.applyTheDefaults();
        QCOMPARE(held(), v2);
        QVERIFY(h.form1().Command4->toolTip().endsWith(
            QString::fromUtf8("„Standard wiederherstellen“ holt zurück: ") +
            native(g.kept(units[1], 2))));
        g.applyWith("Atlas", "Locust");
        writeFile(g.config("Atlas"), "atlas edited\r\n");
        writeFile(g.config("Locust"), "locust edited\r\n");
        g.applyWith("Locust", "Atlas");
        g.applyTheDefaults();
        QCOMPARE(held(), v2);
        QCOMPARE(kept(), 4);

        gameWrites(v1); // rolled back by the game
        g.applyTheDefaults();
        QCOMPARE(held(), v1);
        QCOMPARE(kept(), 4);
        g.applyWith("Atlas", "Locust");
        g.applyWith("Atlas", "Locust"); // the findings as the record keeps them
        QVERIFY(h.form1().player->toolTip().endsWith(native(g.kept(units[0]))));
        // The player removed the kept file found last: the one found before it takes its place.
        QVERIFY(QFile::remove(g.kept(units[0])));
        g.applyTheDefaults();
        QCOMPARE(g.unitBytes(units[0]), v2[0]);
        // A folder kept before the record: an edited configuration's old bytes are kept, but only
        // the first kept file is the game's own.
        g.applyWith("Atlas", "Locust");
        QVERIFY(QFile::remove(keptFolderOf(g.game) + "/KOVEX-Verlauf.dat"));
        writeFile(g.config("Locust"), "locust edited twice\r\n");
        g.applyWith("Atlas", "Atlas");
        g.applyTheDefaults();
        QCOMPARE(g.unitBytes(units[1]), v1[1]);
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
        // The game's own computer unit is no configuration of its name: no row is marked for it.
        writeFile(g.config("MAD-3R_Marauder"), "classic marauder\r\n");
        h.form1().List1->AddItem("MAD-3R_Marauder");
        h.form1().showGameHoldings();
        QCOMPARE(shownIn(h.form1()).computerRow, QString());
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

    // With no game folder stored, the program looks after its window is up, and the
    // configuration window then opens on the game found; "OK" takes it.
    void aGameFoundOpensTheConfigurationWindowOnIt() {
        QTemporaryDir home;
        const QString game = makeGame(home.filePath("Spiele/Velmora Demo Alpha"));
        Harness h;
        h.app->setGamePlaces([&] { return QStringList{home.filePath("Spiele")}; });
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
        QVERIFY(QDir(h.appDir.path()).mkdir("configs"));
        writeFile(h.appPath("configs/Atlas.txt"), "atlas\r\n");
        h.form1().player->setText("Atlas");
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(game + "/Mechdata/WHM-6K_Warhammer.txt"), QByteArray("atlas\r\n"));
        // The user's own folder, and the window opened again: it stays, the found game does not
        // come back.
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        h.form2().Dir1->setPath(home.path());
        h.form2().hide();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QCOMPARE(h.form2().Dir1->Path(), home.path());
    }
};

QTEST_MAIN(GameTest)
#include "tst_game.moc"
