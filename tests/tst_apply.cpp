// Filling the slots and applying them to a game folder, checked on the unit files' bytes.
#include "test_platform.h"
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class ApplyTest : public QObject {
    Q_OBJECT

private slots:
    void fillingAndRestoringSlots() {
        Harness h;
        GameFixture s(h);
        s.start();
        Form1& f = h.form1();
        s.fill(f.Command1, 1);
        QCOMPARE(f.player->text(), QString("Locust"));
        // The selection stays, so the other ">>" puts the same name into the other slot.
        QCOMPARE(f.List1->ListIndex(), 1);
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(f.computer->text(), QString("Locust"));

        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.player->text(), QString("WHM-6K_Warhammer"));
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QCOMPARE(f.List1->items(), QStringList({"Atlas", "Locust"}));

        // Right after a save nothing is selected: ">>" empties its slot.
        chooseDateiItem(f, f.Speichern);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(f.player->text(), QString());
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QVERIFY(h.errors.isEmpty());
    }

    void applyingCopiesBothConfigurations() {
        Harness h;
        GameFixture s(h);
        s.start();
        Form1& f = h.form1();
        s.fill(f.Command1, 0);
        s.fill(f.Command2, 1);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        // Slots, lists and settings are left as they were.
        QCOMPARE(f.player->text(), QString("Atlas"));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        // The game's originals were kept for this game, and the defaults put them back.
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("MAD-3R_Marauder")), kOriginalMarauder);
        QVERIFY(QFileInfo(s.kept("WHM-6K_Warhammer")).fileName() == "WHM-6K_Warhammer.txt");
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        s.expectGameUntouched();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(s.game + "/Mechdata").entryList(QDir::Files | QDir::Hidden),
                 QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    void defaultsOnAFreshInstallChangeNoByte() {
        Harness h;
        GameFixture s(h);
        s.start();
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        s.expectGameUntouched();
    }

    void anExistingFileInConfigsIsNeverReplaced() {
        Harness h;
        GameFixture s(h);
        s.start();
        writeFile(s.config("WHM-6K_Warhammer"), "user's own warhammer\r\n");
        s.fill(h.form1().Command1, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(readFile(s.config("WHM-6K_Warhammer")), QByteArray("user's own warhammer\r\n"));
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        s.applyTheDefaults();
        s.expectGameUntouched();
        QCOMPARE(readFile(s.config("WHM-6K_Warhammer")), QByteArray("user's own warhammer\r\n"));
    }

    // The game's own units swapped, with nothing kept yet and then kept: each slot's unit goes
    // where the slot writes, and the defaults put them back.
    void theGamesOwnUnitsSwapped() {
        Harness h;
        GameFixture s(h);
        s.start();
        for (int round = 0; round < 2; ++round) {
            s.applyWith("MAD-3R_Marauder", "WHM-6K_Warhammer");
            QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalMarauder);
            QCOMPARE(s.unitBytes("MAD-3R_Marauder"), kOriginalWarhammer);
        }
        s.applyTheDefaults();
        s.expectGameUntouched();
        QVERIFY(h.errors.isEmpty());
    }

    void sameNameInBothSlots() {
        Harness h;
        GameFixture s(h);
        s.start();
        s.fill(h.form1().Command1, 0);
        s.fill(h.form1().Command2, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("atlas bytes\r\n"));
    }

    void unsavedGameFolderIsUsed() {
        Harness h;
        GameFixture s(h);
        s.start();
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkdir("Mechdata"));
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QTest::mouseClick(h.form2().Check1, Qt::LeftButton);
        h.form2().Dir1->setPath(other.path());
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        s.fill(h.form1().Command1, 0);
        s.fill(h.form1().Command2, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(other.filePath("Mechdata/WHM-6K_Warhammer.txt")),
                 QByteArray("atlas bytes\r\n"));
        s.expectGameUntouched();
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(s.game.toUtf8()));
    }

    // KOVEX kept in the game's own folder: the application folder is the game folder.
    void kovexInsideTheGameFolder() {
        Harness h;
        GameFixture s(h, h.appDir.path());
        s.start();
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        addName(h.form2(), "Neu");
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\nNeu\r\n"));
        QCOMPARE(h.readAppFile("Konfigs.ini"), native(h.appDir.path()).toUtf8() + "\r\n" +
                                                   native(h.appPath("configs")).toUtf8() + "\r\n");
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        s.expectGameUntouched();
    }

    void gameFolderWithoutMechdata() {
        Harness h;
        GameFixture s(h);
        s.start();
        QTemporaryDir empty;
        h.form2().Dir1->setPath(empty.path());
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PathNotFound));
        QVERIFY(h.errors.first().description().contains("Mechdata"));
        QVERIFY(QDir(empty.path()).isEmpty());
    }

    void replacedUnitKeepsItsPermissions() {
        Harness h;
        GameFixture s(h);
        s.start();
        test_platform::markAsKept(s.unit("WHM-6K_Warhammer"));
        // A read-only configuration makes no read-only unit.
        QVERIFY(QFile::setPermissions(s.config("Atlas"), QFile::ReadOwner));
        s.fill(h.form1().Command1, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QVERIFY(test_platform::isStillMarked(s.unit("WHM-6K_Warhammer")));
        QVERIFY(!QFileInfo(s.unit("WHM-6K_Warhammer")).isSymLink());
    }

    void realErrorReportIsAMessageBoxAndTheProgramGoesOn() {
        Harness h;
        GameFixture s(h);
        s.start();
        QString shownText;
        QString shownTitle;
        const auto answerBox = [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    shownTitle = box->windowTitle();
                    shownText = box->text();
                    QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
                }
            }
        };
        h.app->errorReport().setCapture({}); // back to the message box
        QTimer::singleShot(0, answerBox);
        h.form1().computer->setText("Nowhere");
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(shownTitle, QString("KOVEX"));
        QVERIFY2(shownText.startsWith(QString::fromUtf8("Laufzeitfehler '53':\n\nDatei nicht "
                                                        "gefunden: Computer-Slot, ")),
                 qPrintable(shownText));
        QVERIFY(shownText.endsWith("Nowhere.txt"));

        // The program is still there and still works: the next apply copies.
        QVERIFY(h.form1().isVisible());
        s.fill(h.form1().Command2, 1);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
    }
};

QTEST_MAIN(ApplyTest)
#include "tst_apply.moc"
