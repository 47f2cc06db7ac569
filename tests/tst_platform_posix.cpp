// What only Linux has, met through the real windows: names that differ only in case, Unix modes
// and owners, symbolic links, named pipes, folder names with line breaks, folders standing in
// for drives, mounted volumes, and a current folder that was removed.
#include "test_platform.h"
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/drive_list_box.h"
#include "config_window/form2.h"
#include "config_window/system_drives.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <QTreeWidget>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The game's folder and unit files as a game under Wine may spell them.
void respell(const GameFixture& g, const QString& player, const QString& computer) {
    QVERIFY(QDir(g.game).rename("Mechdata", "MECHDATA"));
    QVERIFY(
        QFile::rename(g.game + "/MECHDATA/WHM-6K_Warhammer.txt", g.game + "/MECHDATA/" + player));
    QVERIFY(
        QFile::rename(g.game + "/MECHDATA/MAD-3R_Marauder.txt", g.game + "/MECHDATA/" + computer));
}

} // namespace

class PosixTest : public QObject {
    Q_OBJECT

private slots:
    // Under Wine the game may spell its folder and files in another case; they are used as
    // the game spells them, never doubled by a second spelling.
    void aGameUnderWineSpeltInOtherCase() {
        Harness h;
        GameFixture s(h);
        respell(s, "WHM-6K_WARHAMMER.TXT", "mad-3r_marauder.txt");
        QVERIFY(QFile::rename(s.config("Atlas"), h.appPath("configs/ATLAS.txt")));
        s.start();
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(s.game).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"KOVEX-Originale", "MECHDATA"}));
        QCOMPARE(QDir(s.game + "/MECHDATA").entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
                 QStringList({"mad-3r_marauder.txt", "WHM-6K_WARHAMMER.TXT"}));
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"),
                 QByteArray("atlas bytes\r\n"));
        QCOMPARE(readFile(s.game + "/MECHDATA/mad-3r_marauder.txt"),
                 QByteArray("locust\0bytes", 12));
        // The originals are kept, and the defaults find them.
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("MAD-3R_Marauder")), kOriginalMarauder);
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"), kOriginalWarhammer);
        QCOMPARE(readFile(s.game + "/MECHDATA/mad-3r_marauder.txt"), kOriginalMarauder);
    }

    // A fresh game under Wine, and the defaults applied first: the game's own units, in the
    // game's spelling, are both the sources and the originals kept.
    void theDefaultsFirstOnAGameSpeltInCapitals() {
        Harness h;
        GameFixture s(h);
        respell(s, "WHM-6K_WARHAMMER.TXT", "MAD-3R_MARAUDER.TXT");
        s.start();
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(s.game + "/MECHDATA").entryList(QDir::Files),
                 QStringList({"MAD-3R_MARAUDER.TXT", "WHM-6K_WARHAMMER.TXT"}));
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"), kOriginalWarhammer);
        QCOMPARE(readFile(s.game + "/MECHDATA/MAD-3R_MARAUDER.TXT"), kOriginalMarauder);
        // Another apply, then the defaults again: the game's own units come back.
        s.applyWith("Atlas", "Locust");
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"),
                 QByteArray("atlas bytes\r\n"));
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"), kOriginalWarhammer);
        QCOMPARE(readFile(s.game + "/MECHDATA/MAD-3R_MARAUDER.TXT"), kOriginalMarauder);
    }

    void twoSpellingsOfOneFileAreReportedAndNothingChanges() {
        Harness h;
        GameFixture s(h);
        writeFile(s.game + "/Mechdata/mad-3r_marauder.txt", "second spelling");
        QVERIFY(QFile::rename(s.unit("MAD-3R_Marauder"), s.game + "/Mechdata/MAD-3R_MARAUDER.TXT"));
        s.start();
        s.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), 75);
        QVERIFY2(h.errors.first().description().contains("mehrdeutig"),
                 qPrintable(h.errors.first().description()));
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
        QCOMPARE(QDir(h.appPath("configs")).entryList(QDir::Files),
                 QStringList({"Atlas.txt", "Locust.txt"}));
    }

    // A copy of the game's unit never allows more than the unit does: a unit only its owner may
    // read is kept so too.
    void aKeptOriginalAllowsNoMoreThanTheGameFile() {
        Harness h;
        GameFixture s(h);
        QVERIFY(QFile::setPermissions(s.unit("WHM-6K_Warhammer"),
                                      QFile::ReadOwner | QFile::WriteOwner));
        s.start();
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(s.kept("WHM-6K_Warhammer")) & others, QFile::Permissions());
        QVERIFY(QFile::permissions(s.kept("MAD-3R_Marauder")) & QFile::ReadOther);
        // Nor does a configuration taken in allow more than the file it was taken from.
        QVERIFY(QFile::setPermissions(s.unit("WHM-6K_Warhammer"), QFile::ReadOwner));
        QVERIFY(QFile::copy(s.unit("WHM-6K_Warhammer"), h.appPath("Secret.txt")));
        h.form1().addConfigurations({h.appPath("Secret.txt")});
        QCOMPARE(QFile::permissions(s.config("Secret")) & others, QFile::Permissions());
    }

    // configs is a link to Mechdata, and the slots swap the game's two units: each unit gets
    // the other's bytes, read before either changed, and both are kept.
    void aSwapThroughConfigsLinkedToMechdata() {
        Harness h;
        GameFixture s(h);
        QVERIFY(QDir(h.appPath("configs")).removeRecursively());
        QVERIFY(QFile::link(s.game + "/Mechdata", h.appPath("configs")));
        s.start();
        s.applyWith("MAD-3R_Marauder", "WHM-6K_Warhammer");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalMarauder);
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("MAD-3R_Marauder")), kOriginalMarauder);
        // The defaults put the game's own back where they were.
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        s.expectGameUntouched();
    }

    // Root writes nothing another user could change: a unit file of another user's is refused,
    // naming it, and neither unit changes.
    void rootLeavesAnotherUsersUnitAlone() {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another owner");
        Harness h;
        GameFixture s(h);
        s.start();
        const QByteArray unit = QFile::encodeName(s.unit("MAD-3R_Marauder"));
        QVERIFY(::chown(unit.constData(), 1234, 5678) == 0);
        s.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().description(),
                 QString::fromUtf8("Zugriff verweigert: %1 (gehört einem anderen Benutzer)")
                     .arg(s.unit("MAD-3R_Marauder")));
        s.expectGameUntouched();
    }
    void danglingLinkInPlaceOfASettingsFile() {
        Harness h;
        QVERIFY(QDir(h.appDir.path()).mkdir("real"));
        QVERIFY(QFile::link(h.appPath("real/Konfigs.ini"), h.appPath("Konfigs.ini")));
        h.start();
        // Treated like a missing file: the link's target is created, the link kept.
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("real/Konfigs.ini"), QByteArray());
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QVERIFY(QFileInfo(h.appPath("Konfigs.ini")).isSymLink());
        QVERIFY(h.readAppFile("real/Konfigs.ini").endsWith(native("/configs\r\n").toUtf8()));
    }

    void linkIntoAMissingFolder() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        QVERIFY(QFile::link(h.appPath("gone/Konfigs.ini"), h.appPath("Konfigs.ini")));
        h.start();
        QCOMPARE(h.errors.size(), 1);
        QVERIFY(h.form1().isVisible());
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 2);
        QCOMPARE(h.errors.first().number(), int(KovexError::PathNotFound));
        QCOMPARE(h.errors.last().number(), 75); // not read, so not written
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
    }

    void aSettingsFileTurnedIntoAPipeWhileRunningIsNotReplaced() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        QVERIFY(QFile::remove(h.appPath("units.ini")));
        QVERIFY(test_platform::makeNamedPipe(h.appPath("units.ini")));
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PathFileAccessError));
        QVERIFY(QFileInfo::exists(h.appPath("units.ini")) &&
                !QFileInfo(h.appPath("units.ini")).isFile());
        QCOMPARE(h.form1().List1->items(), QStringList({"A"}));
    }

    // A line break of either kind would split the stored folder in two at the next start.
    void aGameFolderWithALineBreakIsNotStoredButUsed_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("LF") << "Spiel\nzwei";
        QTest::newRow("CR") << "Spiel\rzwei";
    }

    void aGameFolderWithALineBreakIsNotStoredButUsed() {
        QFETCH(QString, name);
        Harness h;
        GameFixture g(h, h.appPath(name));
        g.start();
        const QByteArray konfigs = h.readAppFile("Konfigs.ini");
        h.form2().Dir1->setPath(g.game);
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::BadFileName));
        QCOMPARE(h.readAppFile("Konfigs.ini"), konfigs);
        h.errors.clear();
        g.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
    }

    // Everything by keyboard alone: the focus starts on "löschen", Tab goes through every
    // control in the order laid out, and drive, folder, a new name, "^ ", "Speichern?" and
    // "OK" end in the saved files.
    void theWholeWindowByKeyboardAlone() {
        QTemporaryDir driveA;
        QTemporaryDir driveB;
        QVERIFY(QDir(driveB.path()).mkpath("Velmora/Mechdata"));
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Drive1->setDrives({driveA.path(), driveB.path()});
        f.Dir1->setPath(driveA.path());
        f.Drive1->showDriveOf(driveA.path());
        QCOMPARE(QApplication::focusWidget(), f.Command3);

        const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        QList<QWidget*> order;
        for (int i = 0; i < 8; ++i) {
            press(Qt::Key_Tab);
            order << QApplication::focusWidget();
        }
        const QList<QWidget*> laidOut{f.Command1, f.Drive1,   f.Dir1->tree(), f.List1,
                                      f.Text1,    f.Command2, f.Check1,       f.Command3};
        QCOMPARE(order, laidOut);
        // And back again.
        for (int i = 6; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), laidOut[i]);
        }
        while (QApplication::focusWidget() != f.Command3)
            press(Qt::Key_Tab);

        press(Qt::Key_Tab); // "OK"
        press(Qt::Key_Tab); // the drive
        press(Qt::Key_Down);
        QCOMPARE(f.Dir1->Path(), driveB.path());
        press(Qt::Key_Tab); // the folder
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QCOMPARE(f.Dir1->Path(), driveB.path() + "/Velmora");
        press(Qt::Key_Tab); // the names
        press(Qt::Key_Tab); // the new name
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "Atlas");
        press(Qt::Key_Tab); // "^ "
        press(Qt::Key_Space);
        press(Qt::Key_Tab); // "Speichern?", ticked: untick and tick again
        press(Qt::Key_Space);
        QVERIFY(!f.Check1->isChecked());
        press(Qt::Key_Space);
        press(Qt::Key_Tab); // "löschen"
        press(Qt::Key_Tab); // "OK"
        QCOMPARE(QApplication::focusWidget(), f.Command1);
        press(Qt::Key_Return);
        QVERIFY(!f.isVisible());
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nAtlas\r\n"));
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith((driveB.path() + "/Velmora\r\n").toUtf8()));
    }

    void choosingADrive() {
        QTemporaryDir driveA;
        QTemporaryDir driveB;
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        const QString missing = driveB.path() + "/not-mounted";
        f.Drive1->setDrives({"/", driveA.path(), driveB.path(), missing});
        f.Dir1->setPath(driveA.path());
        f.Drive1->showDriveOf(f.Dir1->Path());
        QCOMPARE(f.Drive1->Drive(), driveA.path());

        // A readable drive: its root becomes the game folder.
        f.Drive1->setFocus();
        QTest::keyClick(f.Drive1, Qt::Key_Down);
        QCOMPARE(f.Drive1->Drive(), driveB.path());
        QCOMPARE(f.Dir1->Path(), driveB.path());

        // A drive that cannot be read: reported, the drive list goes back, the folder stays.
        QTest::keyClick(f.Drive1, Qt::Key_Down);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(f.Dir1->Path(), driveB.path());
        QCOMPARE(f.Drive1->Drive(), driveB.path());
        QVERIFY(f.isVisible());

        // Another drive after the refused one, then "/" while the folder is on that drive.
        QTest::keyClick(f.Drive1, Qt::Key_Up);
        QCOMPARE(f.Dir1->Path(), driveA.path());
        QTest::keyClick(f.Drive1, Qt::Key_Up);
        QCOMPARE(f.Drive1->Drive(), QString("/"));
        QCOMPARE(f.Dir1->Path(), QString("/"));
        QCOMPARE(h.errors.size(), 1);
    }

    // The drive already shown, chosen again from the open list, leaves the folder as it is;
    // a drive chosen and the window closed and opened again shows that drive and its folder.
    void theShownDriveAndTheFolderAgree() {
        QTemporaryDir driveA;
        QTemporaryDir driveB;
        QVERIFY(QDir(driveA.path()).mkpath("Spiele/Velmora"));
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        f.Drive1->setDrives({driveA.path(), driveB.path()});
        f.Dir1->setPath(driveA.path() + "/Spiele/Velmora");
        f.Drive1->showDriveOf(f.Dir1->Path());
        QCOMPARE(f.Drive1->Drive(), driveA.path());

        f.Drive1->showPopup();
        QAbstractItemView* choices = f.Drive1->view();
        QTRY_VERIFY(choices->isVisible());
        QTest::keyClick(choices, Qt::Key_Return);
        QTRY_VERIFY(!choices->isVisible());
        QCOMPARE(f.Dir1->Path(), driveA.path() + "/Spiele/Velmora");

        f.Drive1->setFocus();
        QTest::keyClick(f.Drive1, Qt::Key_Down);
        QCOMPARE(f.Dir1->Path(), driveB.path());
        QTest::mouseClick(f.Check1, Qt::LeftButton); // "OK" only hides
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.Drive1->Drive(), driveB.path());
        QCOMPARE(f.Dir1->Path(), driveB.path());
        QCOMPARE(f.Dir1->tree()->currentItem()->data(0, Qt::UserRole).toString(), driveB.path());
        QVERIFY(h.errors.isEmpty());

        // A drive that cannot be read is refused: the list goes back to the drive of the
        // folder shown, the first one too.
        const QString unreadable = driveB.path() + "/not-mounted";
        f.Drive1->setDrives({driveA.path(), driveB.path(), unreadable});
        f.Dir1->setPath(driveA.path() + "/Spiele");
        f.Drive1->setFocus();
        QCOMPARE(f.Drive1->Drive(), driveB.path());
        QTest::keyClick(f.Drive1, Qt::Key_Down); // to the one that cannot be read
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(f.Drive1->Drive(), driveA.path());
        QCOMPARE(f.Dir1->Path(), driveA.path() + "/Spiele");
    }

    void aVanishedCurrentFolderStillGivesAFolderList() {
        QTemporaryDir gone;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(gone.path()));
        QVERIFY(gone.remove());
        Harness h;
        h.start();
        QDir::setCurrent(before);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.form2().Dir1->Path(), QDir::rootPath());
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith("/\r\n"));
    }

    void theRealDriveListIsTheMountedVolumesRootFirst() {
        QStringList drives = system_drives::mountedDrives();
        QVERIFY(!drives.isEmpty());
        QCOMPARE(drives.first(), QDir::rootPath());
        QCOMPARE(drives.removeDuplicates(), 0);
    }
};

QTEST_MAIN(PosixTest)
#include "tst_platform_posix.moc"
