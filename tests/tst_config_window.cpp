// The configuration window driven as a user would: names, folders, drives, OK.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/drive_list_box.h"
#include "config_window/form2.h"
#include "config_window/mount_table.h"
#include "config_window/system_drives.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTest>
#include <QTreeWidget>

namespace {

// A real double-click: press and release, then the second press arrives as a double-click.
void doubleClickFolder(DirListBox* dir, QTreeWidgetItem* item) {
    QTreeWidget* tree = dir->tree();
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class ConfigWindowTest : public QObject {
    Q_OBJECT

private:
    // Started program with the configuration window open and names A, B, C stored.
    static void openWithNames(Harness& h) {
        h.writeAppFile("units.ini", "A\r\nB\r\nC\r\n");
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(QTest::qWaitForWindowExposed(&h.form2()));
    }

private slots:
    void layoutAsDrawn() {
        Harness h;
        h.start();
        Form2& f = h.form2();
        QCOMPARE(f.windowTitle(), QString("KOVEX"));
        QCOMPARE(f.size(), QSize(466, 362));
        QCOMPARE(f.Command1->geometry(), QRect(352, 328, 81, 25));
        QCOMPARE(f.Drive1->geometry(), QRect(16, 64, 209, 21));
        QCOMPARE(f.Dir1->geometry(), QRect(16, 88, 209, 216));
        QCOMPARE(f.Frame1->geometry(), QRect(8, 8, 225, 305));
        QCOMPARE(f.Label1->geometry(), QRect(8, 16, 209, 33));
        QCOMPARE(f.Frame2->geometry(), QRect(248, 8, 209, 305));
        QCOMPARE(f.Label2->geometry(), QRect(8, 16, 193, 41));
        QCOMPARE(f.List1->geometry(), QRect(8, 56, 193, 186));
        QCOMPARE(f.Text1->geometry(), QRect(8, 272, 193, 19));
        QCOMPARE(f.Command2->geometry(), QRect(56, 248, 17, 17));
        QCOMPARE(f.Check1->geometry(), QRect(248, 328, 105, 25));
        QCOMPARE(f.Command3->geometry(), QRect(96, 248, 81, 17));
        QCOMPARE(f.Drive1->parentWidget(), &f);
        QCOMPARE(f.List1->parentWidget(), f.Frame2);

        QCOMPARE(f.Label1->text(), QString("Installationspfad von Velmora angeben:"));
        QCOMPARE(f.Label2->text(), QString("Bekannte Mech-konfigurationen:"));
        QCOMPARE(f.Text1->text(), QString("Text1"));
        QCOMPARE(f.Command2->text(), QString("^ "));
        QCOMPARE(f.Command3->text(), QString::fromUtf8("löschen"));
        QCOMPARE(f.Check1->text(), QString("Speichern?"));
        QVERIFY(f.Check1->isChecked());
        QVERIFY(f.Label2->font().bold());
        QCOMPARE(f.Label2->font().pointSizeF(), 9.75);
        QCOMPARE(f.Command1->font().pointSizeF(), 8.25);
        QVERIFY(!f.Command1->font().bold());

        // Nothing is a default button.
        for (QPushButton* b : {f.Command1, f.Command2, f.Command3})
            QVERIFY(!b->isDefault() && !b->autoDefault());

        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // Once shown, the drive list offers the volumes, "/" first (on Windows the drive
        // letters), and shows the current one.
#ifdef Q_OS_WIN
        for (int i = 0; i < f.Drive1->count(); ++i)
            QVERIFY2(QRegularExpression("[A-Z]:").match(f.Drive1->itemText(i)).hasMatch(),
                     qPrintable(f.Drive1->itemText(i)));
#else
        QCOMPARE(f.Drive1->itemText(0), QDir::rootPath());
#endif
        QCOMPARE(f.Drive1->count(), system_drives::mountedDrives().size());
        QVERIFY(QDir::currentPath().startsWith(f.Drive1->Drive()));
        // The folder list shows the root and the current folder, parents first.
        // The folder list came with the window, filling its place.
        QTreeWidget* folders = f.Dir1->findChild<QTreeWidget*>();
        QVERIFY(folders && folders->isVisible());
        QCOMPARE(folders, f.Dir1->tree());
        QCOMPARE(folders->geometry(), f.Dir1->rect());
        const QRect shown = folders->viewport()->rect();
        QVERIFY(shown.contains(folders->visualItemRect(folders->topLevelItem(0))));
        // The root starts at the left edge: no room for marks to fold it.
        QVERIFY(folders->visualItemRect(folders->topLevelItem(0)).left() < folders->indentation());
        QVERIFY(shown.contains(folders->visualItemRect(folders->currentItem())));
        renderToPng(&f, "form2.png");
    }

    // Everything by keyboard alone: the focus starts on "löschen", Tab goes through every
    // control in the order laid out, and drive, folder, a new name, "^ ", "Speichern?" and
    // "OK" end in the saved files.
    void theWholeWindowByKeyboardAlone() {
        SKIP_ON_WINDOWS("folders that stand in for drives; the drive letters have their own case");
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

    void addingNames() {
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        QTest::mouseClick(f.Command2, Qt::LeftButton); // untouched text box
        addName(f, "");
        addName(f, "Atlas");
        addName(f, "Atlas");
        QCOMPARE(f.List1->items(), QStringList({"Text1", "", "Atlas", "Atlas"}));
        QCOMPARE(f.Text1->text(), QString("Atlas"));
        QCOMPARE(f.List1->ListIndex(), -1);
        // The main window learns of them only by a save.
        QCOMPARE(h.form1().List1->ListCount(), 0);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray());
    }

    void removingNames() {
        Harness h;
        openWithNames(h);
        Form2& f = h.form2();
        clickRow(f.List1, 1);
        QCOMPARE(f.List1->ListIndex(), 1);
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.List1->items(), QStringList({"A", "C"}));
        QCOMPARE(f.List1->ListIndex(), -1);
        // Again with nothing selected: nothing happens, nothing is reported.
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.List1->items(), QStringList({"A", "C"}));
        QVERIFY(h.errors.isEmpty());
    }

    void okWithoutTickOnlyHides() {
        QTemporaryDir game;
        Harness h;
        openWithNames(h);
        Form2& f = h.form2();
        const QByteArray konfigs = h.readAppFile("Konfigs.ini");
        QTest::mouseClick(f.Check1, Qt::LeftButton);
        QVERIFY(!f.Check1->isChecked());
        addName(f, "D");
        f.Dir1->setPath(game.path());
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nB\r\nC\r\n"));
        QCOMPARE(h.readAppFile("Konfigs.ini"), konfigs);
        QCOMPARE(h.form1().List1->items(), QStringList({"A", "B", "C"}));

        // Shown again: the same window with everything as it was, the tick included.
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QCOMPARE(&h.form2(), &f);
        QVERIFY(f.isVisible());
        QVERIFY(!f.Check1->isChecked());
        QCOMPARE(f.List1->items(), QStringList({"A", "B", "C", "D"}));
        QCOMPARE(f.Dir1->Path(), game.path());
        QCOMPARE(f.Text1->text(), QString("D"));
    }

    void okWithTickSavesAndReloadsBothLists() {
        Harness h;
        openWithNames(h);
        Form2& f = h.form2();
        clickRow(f.List1, 0);
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        addName(f, "Z");
        clickRow(f.List1, 0);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("B\r\nC\r\nZ\r\n"));
        QCOMPARE(h.form1().List1->items(), QStringList({"B", "C", "Z"}));
        QCOMPARE(f.List1->ListIndex(), -1);
    }

    void closingFromTheTitleBarHidesWithoutSaving() {
        Harness h;
        openWithNames(h);
        Form2& f = h.form2();
        addName(f, "D");
        QVERIFY(f.close());
        QVERIFY(!f.isVisible());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nB\r\nC\r\n"));
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QCOMPARE(f.List1->items(), QStringList({"A", "B", "C", "D"}));
    }

    void openingAFolderByDoubleClick() {
        QTemporaryDir game;
        QVERIFY(QDir(game.path()).mkpath("Velmora/Mechdata"));
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        DirListBox* dir = h.form2().Dir1;
        dir->setPath(game.path());
        QTreeWidgetItem* velmora =
            dir->tree()->findItems("Velmora", Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(velmora);
        dir->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dir->window()));
        doubleClickFolder(dir, velmora);
        QCOMPARE(dir->Path(), game.path() + "/Velmora");
        // The click put the focus on the folder choice, as the window knows it.
        QVERIFY(dir->hasFocus());
        QVERIFY(
            !dir->tree()->findItems("Mechdata", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());

        // Hidden folders are listed too, in the same name order: a game under Wine lives in one.
        QVERIFY(QDir(game.path() + "/Velmora").mkpath(".wine/drive_c"));
        QVERIFY(QDir(game.path() + "/Velmora").mkpath("alpha"));
        dir->setPath(game.path() + "/Velmora");
        QStringList shown;
        for (int i = 0; i < dir->tree()->currentItem()->childCount(); ++i)
            shown << dir->tree()->currentItem()->child(i)->text(0);
        QCOMPARE(shown, QStringList({".wine", "alpha", "Mechdata"}));
        doubleClickFolder(dir, dir->tree()->currentItem()->child(0));
        QCOMPARE(dir->Path(), game.path() + "/Velmora/.wine");
        dir->setPath(game.path() + "/Velmora");

        // A folder that vanished before it was opened is reported; the path stays.
        QTreeWidgetItem* mechdata =
            dir->tree()->findItems("Mechdata", Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(QDir(game.path() + "/Velmora/Mechdata").removeRecursively());
        doubleClickFolder(dir, mechdata);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PathNotFound));
        QCOMPARE(dir->Path(), game.path() + "/Velmora");

        // Setting anything but an existing folder is a failure.
        QVERIFY_THROWS_EXCEPTION(KovexError, dir->setPath(game.path() + "/nothing"));
        QVERIFY_THROWS_EXCEPTION(KovexError, dir->setPath(QString()));
    }

    void aFolderSetWhileHiddenIsShownWhenOpened() {
        QTemporaryDir game;
        QVERIFY(QDir(game.path()).mkpath("Velmora/Mechdata"));
        const QString velmora = game.path() + "/Velmora";
        Harness h;
        h.writeAppFile("Konfigs.ini", QDir::toNativeSeparators(velmora).toUtf8() + "\r\n");
        h.start();
        Form2& f = h.form2();
        QVERIFY(!f.isVisible());
        const auto shownFolder = [&] {
            QTreeWidgetItem* current = f.Dir1->tree()->currentItem();
            QStringList children;
            for (int i = 0; current && i < current->childCount(); ++i)
                children << current->child(i)->text(0);
            return (current ? current->text(0) : QString()) + ": " + children.join(',');
        };

        // The stored game folder, read while the window was hidden, is what it opens on.
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(shownFolder(), QString("Velmora: Mechdata"));

        // Changed while hidden again: the next opening shows the new folder, not the old list.
        f.hide();
        QVERIFY(QDir(velmora).mkpath("Saves"));
        f.Dir1->setPath(game.path());
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(shownFolder(), QFileInfo(game.path()).fileName() + ": Velmora");
        f.Dir1->setPath(velmora);
        QCOMPARE(shownFolder(), QString("Velmora: Mechdata,Saves"));
        QVERIFY(h.errors.isEmpty());
    }

    void choosingADrive() {
        SKIP_ON_WINDOWS("folders that stand in for drives; the drive letters have their own case");
        QTemporaryDir driveA;
        QTemporaryDir driveB;
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        const QString missing = driveB.path() + "/not-mounted";
        f.Drive1->setDrives({driveA.path(), driveB.path(), missing});
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
    }

    // The drive already shown, chosen again from the open list, leaves the folder as it is;
    // a drive chosen and the window closed and opened again shows that drive and its folder.
    void theShownDriveAndTheFolderAgree() {
        SKIP_ON_WINDOWS("folders that stand in for drives; the drive letters have their own case");
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

    // The window keeps its size, as laid out; the lists take one name at a time.
    void fixedSizeAndOneSelection() {
        Harness h;
        openWithNames(h);
        Form2& f = h.form2();
        const QSize laidOut = f.size();
        QCOMPARE(f.minimumSize(), laidOut);
        QCOMPARE(f.maximumSize(), laidOut);
        f.resize(laidOut + QSize(100, 80));
        QCOMPARE(f.size(), laidOut);

        h.form1().activateWindow();
        for (ListBox* list : {f.List1, h.form1().List1}) {
            list->window()->activateWindow();
            clickRow(list, 0);
            const QModelIndex second = list->model()->index(2, 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualRect(second).center());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                              list->visualRect(list->model()->index(1, 0)).center());
            QCOMPARE(list->selectionModel()->selectedIndexes().size(), 1);
            QCOMPARE(list->ListIndex(), 1);
        }
    }

    void aVanishedCurrentFolderStillGivesAFolderList() {
        SKIP_ON_WINDOWS("a removed current folder: Windows cannot remove a process's current "
                        "folder");
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
        SKIP_ON_WINDOWS("mounted volumes for drives; Windows has drive letters");
        QStringList drives = system_drives::mountedDrives();
        QVERIFY(!drives.isEmpty());
        QCOMPARE(drives.first(), QDir::rootPath());
        QCOMPARE(drives.removeDuplicates(), 0);
        // The same volumes that Qt's own, slower list offers.
        QStringList volumes;
        for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
            if (volume.isValid() && !volumes.contains(volume.rootPath()))
                volumes << volume.rootPath();
        volumes.sort();
        drives.sort();
        QCOMPARE(drives, volumes);
    }

    void mountTableSpellings() {
        const QByteArray table =
            "22 27 0:21 / /proc rw - proc proc rw\n"
            "27 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
            "30 27 8:2 / /media/ich/USB\\040Stick rw - vfat /dev/sdb1 rw\n"
            "31 27 8:2 / /media/ich/USB\\040Stick rw - vfat /dev/sdb1 rw\n"
            "32 27 0:40 / /home/ich/.wine/dosdevices/z:\\134x rw - fuse.x /dev/fuse rw\n"
            "33 27 0:41 / /run/user/1000 rw - tmpfs tmpfs rw\n"
            "34 27 0:42 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
            "35 27 0:43 / /srv/net rw - nfs4 server:/export rw\n"
            "truncated line\n";
        QCOMPARE(drivesInMountTable(table),
                 QStringList({"/", "/media/ich/USB Stick", "/home/ich/.wine/dosdevices/z:\\x",
                              "/run/user/1000"}));
    }

    // With the current folder on one drive the list shows that drive; choosing another makes
    // that drive's current folder the game folder, stored as Windows writes a path.
    void drivesAreLetters() {
#ifndef Q_OS_WIN
        QSKIP("Windows only: drive letters");
#else
        const QString before = QDir::currentPath();
        QVERIFY(before.startsWith("Z:/", Qt::CaseInsensitive));
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.Drive1->Drive(), QString("Z:"));
        QVERIFY(f.Dir1->Path().startsWith("Z:/", Qt::CaseInsensitive));
        QVERIFY(f.Drive1->findText("C:") >= 0);
        QCOMPARE(f.Dir1->tree()->topLevelItem(0)->text(0).toUpper(), QString("Z:\\"));

        // Another drive: its current folder, and the folder list on it.
        f.Drive1->setFocus();
        while (f.Drive1->Drive() != "C:")
            QTest::keyClick(f.Drive1, f.Drive1->currentIndex() > f.Drive1->findText("C:")
                                          ? Qt::Key_Up
                                          : Qt::Key_Down);
        QVERIFY(h.errors.isEmpty());
        QVERIFY2(f.Dir1->Path().startsWith("C:/", Qt::CaseInsensitive), qPrintable(f.Dir1->Path()));
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QVERIFY2(h.readAppFile("Konfigs.ini").toUpper().startsWith("C:\\"),
                 h.readAppFile("Konfigs.ini").constData());

        // Back on the program's drive after a restart: the stored folder on C:, the drive list
        // on the current drive.
        Harness again;
        again.writeAppFile("Konfigs.ini", h.readAppFile("Konfigs.ini"));
        again.start();
        chooseDateiItem(again.form1(), again.form1().Konfigurieren);
        QVERIFY(again.form2().Dir1->Path().startsWith("C:/", Qt::CaseInsensitive));
        QCOMPARE(again.form2().Drive1->Drive(), QString("Z:"));
#endif
    }

    void aHundredThousandNamesLoad() {
        QByteArray bytes;
        for (int i = 0; i < 100000; ++i)
            bytes += "Name" + QByteArray::number(i) + "\r\n";
        Harness h;
        h.writeAppFile("units.ini", bytes);
        h.start();
        QCOMPARE(h.form1().List1->ListCount(), 100000);
        QCOMPARE(h.form2().List1->List(99999), QString("Name99999"));
        // The last name can be reached and chosen like the first, even before the list has laid
        // out its later rows.
        clickRow(h.form1().List1, 99999);
        QCOMPARE(h.form1().List1->Text(), QString("Name99999"));
        chooseDateiItem(h.form1(), h.form1().Speichern);
        clickRow(h.form1().List1, 99998);
        QCOMPARE(h.form1().List1->Text(), QString("Name99998"));
    }
};

QTEST_MAIN(ConfigWindowTest)
#include "tst_config_window.moc"
