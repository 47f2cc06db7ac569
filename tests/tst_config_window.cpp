// The configuration window driven as a user would: names, folders, drives, OK.
#include "test_platform.h"
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/drive_list_box.h"
#include "config_window/form2.h"
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
        QStringList drives;
        for (int i = 0; i < f.Drive1->count(); ++i)
            drives << f.Drive1->itemText(i);
        QVERIFY2(test_platform::drivesNamedAsTheSystemDoes(drives), qPrintable(drives.join(',')));
        QCOMPARE(f.Drive1->count(), system_drives::mountedDrives().size());
        QVERIFY(QDir::currentPath().startsWith(f.Drive1->Drive()));
        // The folder list shows the root and the current folder, parents first.
        // The folder list came with the window, filling its place.
        QTreeWidget* folders = f.Dir1->tree();
        QVERIFY(folders->isVisible());
        const QRect shown = folders->viewport()->rect();
        QVERIFY(shown.contains(folders->visualItemRect(folders->topLevelItem(0))));
        // The root starts at the left edge: no room for marks to fold it.
        QVERIFY(folders->visualItemRect(folders->topLevelItem(0)).left() < folders->indentation());
        QVERIFY(shown.contains(folders->visualItemRect(folders->currentItem())));
        renderToPng(&f, "form2.png");
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
};

QTEST_MAIN(ConfigWindowTest)
#include "tst_config_window.moc"
