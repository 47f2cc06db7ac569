// Configurations within the player's reach, through the real windows: both lists' context
// menu, the file dialog by keyboard alone, drops, configs shown, completion and the marks.
#include "test_support.h"

#include "config_window/form2.h"
#include "controls/configurations_menu.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QCompleter>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

QStringList actionTexts() {
    QStringList texts;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        for (QAction* action : menu->actions())
            texts << action->text();
    return texts;
}

// The contrast of the list's empty hint against its background, as WCAG measures it: its darkest
// pixel against the same pixel without the hint. 0 where the list looks the same without it.
double hintContrast(ListBox* list) {
    const QImage shown = list->viewport()->grab().toImage();
    const QString hint = list->emptyHint();
    list->setEmptyHint({});
    const QImage without = list->viewport()->grab().toImage();
    list->setEmptyHint(hint);
    const auto luminance = [](QRgb rgb) {
        double sum = 0;
        for (auto [c, weight] :
             {std::pair{qRed(rgb), 0.2126}, {qGreen(rgb), 0.7152}, {qBlue(rgb), 0.0722}})
            sum += weight * (c <= 10 ? c / 3294.6 : std::pow((c / 255.0 + 0.055) / 1.055, 2.4));
        return sum + 0.05;
    };
    double contrast = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            contrast = std::max(contrast, shown.pixel(x, y) == without.pixel(x, y)
                                              ? 0
                                              : luminance(without.pixel(x, y)) /
                                                    luminance(shown.pixel(x, y)));
    return contrast;
}

// Files dragged from a file manager with Shift held, which asks for a move, and dropped onto
// the list. Taken as a copy: the file manager must not remove its files.
void drop(ListBox* list, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint at = list->viewport()->rect().center();
    // Only a copy is taken: a drag that offers none is refused, one that offers only a copy
    // is taken.
    for (const Qt::DropActions only :
         {Qt::DropActions(Qt::MoveAction), Qt::DropActions(Qt::CopyAction)}) {
        QDragEnterEvent enter(at, only, &data, Qt::LeftButton, {});
        QApplication::sendEvent(list->viewport(), &enter);
        QCOMPARE(enter.isAccepted(), only == Qt::CopyAction);
    }
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent moved(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(list->viewport(), &moved);
    QVERIFY(moved.isAccepted());
    QCOMPARE(moved.dropAction(), Qt::CopyAction);
    QDropEvent dropped(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(dropped.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(list->viewport(), &dropped);
    QVERIFY(dropped.isAccepted());
    QCOMPARE(dropped.dropAction(), Qt::CopyAction);
}

// A game stored, no configs yet, and two unit files on the desktop, where the file dialog
// opens. A desktop made for the test goes again.
struct NewPlayer {
    explicit NewPlayer(Harness& h)
        : desktop(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)),
          madeDesktop(QDir().mkpath(desktop) && QDir(desktop).isEmpty()),
          game(makeGame(home.filePath("Velmora"))) {
        for (const QString& name : {"Atlas", "Locust"})
            writeFile(file(name + ".txt"), name.toLower().toUtf8() + "\r\n");
        h.writeAppFile("Konfigs.ini", game.toUtf8() + "\r\n");
    }
    ~NewPlayer() {
        for (const char* name : {"Atlas.txt", "Locust.txt", "Atlas .txt"})
            QFile::remove(file(name));
        if (madeDesktop)
            QDir().rmdir(desktop);
    }
    QString file(const QString& name) const { return desktop + "/" + name; }
    QString desktop;
    bool madeDesktop;
    QTemporaryDir home;
    QString game;
};

} // namespace

// Receives the folders the system is asked to show in its file manager.
class FileManager : public QObject {
    Q_OBJECT
public slots:
    void show(const QUrl& url) { shown << url.toLocalFile(); }

public:
    QStringList shown;
};

class ConfigurationsTest : public QObject {
    Q_OBJECT

private slots:
    // Each list opens its menu by the right mouse button, the menu key and Shift+F10.
    void bothListsOpenTheMenu_data() {
        QTest::addColumn<bool>("mainWindow");
        QTest::addColumn<QString>("how");
        for (const bool main : {true, false})
            for (const char* how : {"mouse", "menu key", "Shift+F10"})
                QTest::addRow("%s, %s", main ? "main window" : "configuration window", how)
                    << main << how;
    }
    void bothListsOpenTheMenu() {
        QFETCH(bool, mainWindow);
        QFETCH(QString, how);
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        if (!mainWindow)
            chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        ListBox* list = mainWindow ? h.form1().List1 : h.form2().List1;
        list->setFocus();
        if (how == "mouse")
            QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        else if (how == "menu key")
            QTest::keyClick(list, Qt::Key_Menu);
        else
            QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_COMPARE(actionTexts(), QStringList({"Datei hinzufügen…", "Ordner „configs“ öffnen"}));
        QApplication::activePopupWidget()->close();
    }

    // From two unit files on the desktop to both slots applied, by the keyboard alone and
    // without typing a configuration's name: the menu, the dialog, the slots, the apply.
    void aNewPlayerByKeyboardAlone() {
        Harness h;
        NewPlayer player(h);
        h.start();
        QVERIFY(!QFileInfo::exists(h.appPath("configs")));
        renderToPng(&h.form1(), "form1_empty.png");
        Form1& f = h.form1();
        // The empty list says what to do, in grey in its first line.
        const QImage empty = f.List1->viewport()->grab().toImage().copy(0, 0, 150, 14);
        bool grey = false;
        for (int x = 0; x < empty.width(); ++x)
            for (int y = 0; y < empty.height(); ++y)
                grey = grey || empty.pixelColor(x, y) != f.List1->palette().color(QPalette::Base);
        QVERIFY(grey);
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), f.List1);
        QTest::keyClick(f.List1, Qt::Key_Menu);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && QTest::qWaitForWindowActive(dialog));
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles); // several at once
            // Typed where the dialog puts the focus, its file name.
            QCOMPARE(dialog->focusWidget(), dialog->findChild<QLineEdit*>("fileNameEdit"));
            QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                     QDir(player.desktop).canonicalPath());
            // The dialog lists the folder beside the user interface, as players see it fill.
            auto* listed = dialog->findChild<QFileSystemModel*>();
            QTRY_VERIFY(listed && listed->rowCount(listed->index(player.desktop)) >= 2);
            QTest::keyClicks(dialog->focusWidget(), "\"Atlas.txt\" \"Locust.txt\"");
            // The names offered while typing are put away first, as a user would.
            if (QWidget* offered = QApplication::activePopupWidget())
                QTest::keyClick(offered, Qt::Key_Escape);
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            QVERIFY(!dialog->isVisible());
        });
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QCOMPARE(h.readAppFile("configs/Atlas.txt"), QByteArray("atlas\r\n"));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        QCOMPARE(f.List1->Text(), QString("Locust")); // the last taken, chosen
        QCOMPARE(hintContrast(f.List1), 0.0);         // with names in it, the list shows no hint
        f.activateWindow();                           // back from the dialog
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), f.List1);
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        press(Qt::Key_Up);
        press(Qt::Key_Tab); // upper ">>"
        press(Qt::Key_Space);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        press(Qt::Key_Down);
        for (int i = 0; i < 2; ++i)
            press(Qt::Key_Tab); // lower ">>"
        press(Qt::Key_Space);
        for (int i = 0; i < 2; ++i)
            press(Qt::Key_Tab); // "Konfig´s zuweisen"
        QCOMPARE(QApplication::focusWidget(), f.Command4);
        press(Qt::Key_Space);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(player.game + "/Mechdata/WHM-6K_Warhammer.txt"), QByteArray("atlas\r\n"));
        QCOMPARE(readFile(player.game + "/Mechdata/MAD-3R_Marauder.txt"), QByteArray("locust\r\n"));
    }

    // Dropped onto the main list, files are taken and saved at once; onto the configuration
    // window's, they join its list and are saved with "OK". The same bytes again are taken
    // without a word, other bytes under a known name only after "Ja"; a file that cannot be a
    // configuration is refused, naming it.
    void aDropTakesTheFiles() {
        Harness h;
        NewPlayer player(h);
        h.start();
        QTRY_VERIFY(!h.form1().Command4->toolTip().isEmpty()); // the window has looked at configs
        QVERIFY2(hintContrast(h.form1().List1) >= 4.5, "the hint cannot be read");
        drop(h.form1().List1, {player.file("Atlas.txt")});
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\n"));
        QCOMPARE(h.form1().List1->items(), QStringList({"Atlas"}));
        QCOMPARE(hintContrast(h.form1().List1), 0.0); // one name is enough for the hint to go
        // Its file there now, the name is not shown as missing.
        QVERIFY(!h.form1().List1->model()->index(0, 0).data(Qt::FontRole).isValid());

        writeFile(player.file("Atlas.txt"), "atlas, better\r\n");
        writeFile(player.file("Atlas .txt"), "a name ending in a blank");
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        drop(h.form2().List1,
             {player.file("Locust.txt"), player.file("Atlas.txt"), player.file("Atlas .txt")});
        QCOMPARE(h.questions.size(), 1);
        QVERIFY2(h.questions.first().contains(native(player.file("Atlas.txt"))),
                 qPrintable(h.questions.first()));
        QCOMPARE(h.readAppFile("configs/Atlas.txt"), QByteArray("atlas\r\n"));
        QCOMPARE(h.errors.size(), 1);
        QVERIFY(h.errors.first().description().contains(native(player.file("Atlas .txt"))));
        QVERIFY(!QFileInfo::exists(h.appPath("configs/Atlas .txt")));
        QCOMPARE(h.form2().List1->items(), QStringList({"Atlas", "Locust"}));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\n"));
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        h.answerYes = true;
        drop(h.form1().List1, {player.file("Atlas.txt"), player.file("Locust.txt")});
        QCOMPARE(h.questions.size(), 2);
        QCOMPARE(h.readAppFile("configs/Atlas.txt"), QByteArray("atlas, better\r\n"));
        // Names already known join no second time.
        QCOMPARE(h.form1().List1->items(), QStringList({"Atlas", "Locust"}));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
    }

    // "Ordner „configs“ öffnen" makes configs and has the system's file manager show it.
    void theConfigsFolderIsShown() {
        FileManager manager;
        QDesktopServices::setUrlHandler("file", &manager, "show");
        Harness h;
        h.start();
        h.form1().configurationsMenu()->openConfigs()->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(manager.shown, QStringList(h.appPath("configs")));
        QVERIFY(QFileInfo(h.appPath("configs")).isDir());
    }

    // The text box offers the names of the files in configs as the files spell them, whatever
    // case is typed; a name without its file is greyed and italic in both lists, and its tool
    // tip, and a slot's naming it, say which file is missing. A row's tool tip tells of its file.
    void whatIsInConfigsIsShown() {
        Harness h;
        QVERIFY(QDir(h.appDir.path()).mkpath("configs"));
        writeFile(h.appPath("configs/Atlas.txt"),
                  QByteArray("first line\r\n") + QByteArray(100, 'x') + "\r\n3\r\n4\r\n5\r\n6\r\n");
        h.writeAppFile("units.ini", "Atlas\r\nGone\r\n");
        h.start();
        QTRY_VERIFY(!h.form1().Command4->toolTip().isEmpty());
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        // A file come since the window opened is offered too, as its name is spelt.
        writeFile(h.appPath("configs/TIMBER Wolf.TXT"), "timber\r\n");
        h.form2().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.form2()));
        h.form2().Text1->setFocus();
        QCompleter* offered = h.form2().completer();
        for (const QString& typed : {"aT", "timber"}) {
            h.form2().Text1->clear();
            QTest::keyClicks(h.form2().Text1, typed);
            QCOMPARE(offered->completionCount(), 1);
            QCOMPARE(offered->currentCompletion(), typed == "aT" ? "Atlas" : "TIMBER Wolf");
        }
        for (ListBox* list : {h.form1().List1, h.form2().List1}) {
            const QModelIndex atlas = list->model()->index(0, 0);
            const QModelIndex gone = list->model()->index(1, 0);
            QVERIFY(gone.data(Qt::FontRole).value<QFont>().italic());
            QCOMPARE(gone.data(Qt::ForegroundRole).value<QColor>(),
                     list->palette().color(QPalette::Disabled, QPalette::Text));
            QVERIFY(!atlas.data(Qt::FontRole).isValid());
            QCOMPARE(gone.data(Qt::ToolTipRole).toString(),
                     QString("Die Datei „%1“ fehlt.").arg(native(h.appPath("configs/Gone.txt"))));
            QVERIFY(atlas.data(Qt::ToolTipRole)
                        .toString()
                        .startsWith(native(h.appPath("configs/Atlas.txt")) + "\n126 Bytes, "));
        }
        // A slot with a name says its file is missing; an empty one names no file.
        h.form1().player->setText("Gone");
        h.form1().computer->clear();
        h.form1().showGameHoldings();
        QVERIFY2(h.form1().player->toolTip().endsWith(
                     QString("Die Datei „%1“ fehlt.").arg(native(h.appPath("configs/Gone.txt")))),
                 qPrintable(h.form1().player->toolTip()));
        QVERIFY2(!h.form1().computer->toolTip().contains("fehlt"),
                 qPrintable(h.form1().computer->toolTip()));
    }
};

QTEST_MAIN(ConfigurationsTest)
#include "tst_configurations.moc"

#include <cmath>
