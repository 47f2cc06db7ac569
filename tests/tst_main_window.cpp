// The main window as drawn and as it behaves through its menu.
#include "test_platform.h"
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/drive_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAsDrawn() {
        Harness h;
        h.writeAppFile("units.ini", "AS7-D_Atlas\r\nLCT-1V_Locust\r\nMAD-3R_Marauder\r\n");
        h.start();
        Form1& f = h.form1();
        QCOMPARE(f.windowTitle(), QString("KOVEX"));
        QCOMPARE(f.centralWidget()->size(), QSize(538, 323));
        QCOMPARE(f.centralWidget()->y(), f.menuBar()->height());
        QCOMPARE(f.Frame1->geometry(), QRect(8, 8, 521, 305));
        QCOMPARE(f.Frame1->title(), QString());
        QCOMPARE(f.List1->geometry(), QRect(8, 40, 177, 251));
        QCOMPARE(f.Label1[0]->geometry(), QRect(8, 16, 177, 17));
        QCOMPARE(f.Label1[1]->geometry(), QRect(288, 152, 177, 17));
        QCOMPARE(f.Label1[2]->geometry(), QRect(288, 40, 177, 17));
        QCOMPARE(f.Command1->geometry(), QRect(216, 72, 49, 17));
        QCOMPARE(f.Command2->geometry(), QRect(216, 184, 49, 17));
        QCOMPARE(f.player->geometry(), QRect(288, 72, 225, 25));
        QCOMPARE(f.computer->geometry(), QRect(288, 184, 225, 25));
        QCOMPARE(f.Command3->geometry(), QRect(216, 224, 193, 25));
        QCOMPARE(f.Command4->geometry(), QRect(216, 264, 193, 25));

        QCOMPARE(f.Label1[0]->text(), QString("Vorhandene Mechs:"));
        QCOMPARE(f.Label1[1]->text(), QString("Computer:"));
        QCOMPARE(f.Label1[2]->text(), QString("Player:"));
        QCOMPARE(f.Command1->text(), QString(">>"));
        QCOMPARE(f.Command2->text(), QString(">>"));
        QCOMPARE(f.player->text(), QString("WHM-6K_Warhammer"));
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QCOMPARE(f.Command3->text(), QString("Standard wiederherstellen"));
        QCOMPARE(f.Command4->text(), QString::fromUtf8("Konfig´s zuweisen"));

        QCOMPARE(f.player->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(f.computer->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(f.player->autoFillBackground());
        QVERIFY(f.player->palette().color(QPalette::Window) !=
                f.computer->palette().color(QPalette::Window));
        // The player slot's back is the inactive title-bar text colour, which Windows names.
        const QColor inactiveTitleText = test_platform::inactiveTitleBarText();
        QCOMPARE(f.player->grab().toImage().pixelColor(2, 2), inactiveTitleText);
        for (QWidget* bold : {static_cast<QWidget*>(f.Label1[0]), static_cast<QWidget*>(f.player),
                              static_cast<QWidget*>(f.Command4)}) {
            QVERIFY(bold->font().bold());
            QCOMPARE(bold->font().pointSizeF(), 9.75);
        }
        QCOMPARE(f.List1->font().pointSizeF(), 8.25);
        QVERIFY(!f.Command1->font().bold());

        // Menu: "Datei" with its three items, then the command "Info" on the bar.
        const QList<QAction*> bar = f.menuBar()->actions();
        if (test_platform::menuBarInTheWindowFont())
            QCOMPARE(f.menuBar()->font(), f.font());
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QString("Datei"));
        QCOMPARE(bar[1], f.Info);
        QCOMPARE(f.Info->text(), QString("Info"));
        QVERIFY(!f.Info->menu());
        QStringList items;
        for (QAction* a : f.Datei->actions())
            items << a->text();
        QCOMPARE(items, QStringList({"Konfigurieren", "Speichern", "Beenden"}));

        clickRow(f.List1, 1);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        renderToPng(&f, "form1.png");
    }

    void keyboardFocusCycle() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        Form1& f = h.form1();
        f.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.List1));
        const QList<QWidget*> cycle{f.Command1, f.Command2, f.Command3, f.Command4, f.List1};
        for (QWidget* next : cycle) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Enter on the list presses no button: no default button moves a slot.
        clickRow(f.List1, 0);
        QTest::keyClick(f.List1, Qt::Key_Return);
        QCOMPARE(f.player->text(), QString("WHM-6K_Warhammer"));
    }

    void enterOnAFocusedButtonPressesIt() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\nB\r\n");
        h.start();
        Form1& f = h.form1();
        clickRow(f.List1, 1);
        f.Command1->setFocus();
        QTest::keyClick(f.Command1, Qt::Key_Return);
        QCOMPARE(f.player->text(), QString("B"));
        f.Command2->setFocus();
        QTest::keyClick(f.Command2, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.computer->text(), QString("B"));
        f.Command3->setFocus();
        QTest::keyClick(f.Command3, Qt::Key_Space); // Space as before
        QCOMPARE(f.player->text(), QString("WHM-6K_Warhammer"));

        chooseDateiItem(f, f.Konfigurieren);
        Form2& config = h.form2();
        clickRow(config.List1, 0);
        config.Command3->setFocus();
        QTest::keyClick(config.Command3, Qt::Key_Return);
        QCOMPARE(config.List1->items(), QStringList({"B"}));
        // Enter in the text box presses nothing: no button is a default button.
        config.Text1->setFocus();
        QTest::keyClick(config.Text1, Qt::Key_Return);
        QCOMPARE(config.List1->items(), QStringList({"B"}));
        QVERIFY(config.isVisible());
    }

    void everyControlHasAnAccessibleName() {
        Harness h;
        h.writeAppFile("units.ini", "Atlas\r\nLocust\r\n");
        h.start();
        Form1& f = h.form1();
        const auto named = [](QObject* o) { return QAccessible::queryAccessibleInterface(o); };
        const auto name = [&](QObject* o) { return named(o)->text(QAccessible::Name); };
        QCOMPARE(name(f.Command1), QString(">> Player"));
        QCOMPARE(name(f.Command2), QString(">> Computer"));
        QVERIFY(!named(f.Command1)->text(QAccessible::Description).isEmpty());
        QCOMPARE(name(f.Command3), QString("Standard wiederherstellen"));

        // The slots: what they are as the name, their text as the value.
        QCOMPARE(name(f.player), QString("Player-Slot"));
        QCOMPARE(named(f.player)->text(QAccessible::Value), QString("WHM-6K_Warhammer"));
        QCOMPARE(name(f.computer), QString("Computer-Slot"));
        clickRow(f.List1, 1);
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(named(f.computer)->text(QAccessible::Value), QString("Locust"));

        // The lists are lists, named after their headings, with the names as items.
        QAccessibleInterface* list = named(f.List1);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QString("Vorhandene Mechs"));
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(1)->role(), QAccessible::ListItem);
        QCOMPARE(list->child(1)->text(QAccessible::Name), QString("Locust"));
        QVERIFY(list->child(1)->state().selected);
        QCOMPARE(list->indexOfChild(list->child(1)), 1);

        Form2& c = h.form2();
        QCOMPARE(named(c.List1)->role(), QAccessible::List);
        QCOMPARE(name(c.List1), QString("Bekannte Mech-konfigurationen"));
        QCOMPARE(named(c.List1)->child(0)->text(QAccessible::Name), QString("Atlas"));
        // A combo box reads as its value on Linux; what it is, it says in its description.
        QCOMPARE(named(c.Drive1)->text(QAccessible::Value), c.Drive1->Drive());
        QCOMPARE(named(c.Drive1)->text(QAccessible::Description),
                 QString("Laufwerk des Installationspfads"));
        QCOMPARE(name(c.Dir1), QString("Installationspfad von Velmora"));
        // The list inside, which takes the focus, says the same.
        QCOMPARE(named(c.Dir1->tree())->role(), QAccessible::Tree);
        QCOMPARE(name(c.Dir1->tree()), QString("Installationspfad von Velmora"));
        QCOMPARE(named(c.Dir1->tree())->text(QAccessible::Description),
                 QString::fromUtf8("Doppelklick oder die Eingabetaste öffnet einen Ordner"));
        QCOMPARE(name(c.Text1), QString("Neue Mech-konfiguration"));
        QCOMPARE(name(c.Check1), QString("Speichern?"));
        QCOMPARE(name(c.Command2), QString::fromUtf8("Hinzufügen"));
        // Names that change keep their items current.
        addName(c, "Zeus");
        QCOMPARE(named(c.List1)->childCount(), 3);
        QCOMPARE(named(c.List1)->child(2)->text(QAccessible::Name), QString("Zeus"));
    }

    void konfigurierenShowsTheOneWindow() {
        Harness h;
        h.start();
        Form2* created = &h.form2();
        addName(*created, "typed");
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(created->isVisible());
        QCOMPARE(&h.form2(), created);
        int configWindows = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            configWindows += dynamic_cast<Form2*>(w) ? 1 : 0;
        QCOMPARE(configWindows, 1);
        QCOMPARE(created->List1->items(), QStringList({"typed"}));
        // Modeless: the main window stays usable beside it.
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(created->windowModality(), Qt::NonModal);
        h.form1().player->setText("other");
        QTest::mouseClick(h.form1().Command3, Qt::LeftButton);
        QCOMPARE(h.form1().player->text(), QString("WHM-6K_Warhammer"));
    }

    // A question closed without an answer, by Escape or from its title bar, is a "Nein".
    void aQuestionLeftUnansweredIsANein_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("closed") << "close" << false;
        QTest::newRow("Enter") << "Enter" << false;
        QTest::newRow("Ja") << "&Ja" << true;
    }
    void aQuestionLeftUnansweredIsANein() {
        QFETCH(QString, answer);
        QFETCH(bool, yes);
        Harness h;
        h.start();
        h.app->errorReport().setAnswer({});
        QTimer::singleShot(0, [answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (answer == "close")
                box->close();
            else if (answer == "Escape" || answer == "Enter")
                QTest::keyClick(box, answer == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
            for (QAbstractButton* button : box->buttons())
                if (button->text() == answer)
                    QTest::mouseClick(button, Qt::LeftButton);
        });
        QCOMPARE(h.app->errorReport().askYesNo("Trotzdem?"), yes);
    }

    void beendenEndsWithoutSaving() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        addName(h.form2(), "unsaved");
        chooseDateiItem(h.form1(), h.form1().Beenden);
        QVERIFY(!h.form1().isVisible());
        QVERIFY(!h.form2().isVisible());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
    }

    void closingTheMainWindowClosesTheOthers() {
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QVERIFY(h.form1().close());
        QVERIFY(!h.form2().isVisible());
    }

    void speichernLeavesTheSlotsAlone() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\nB\r\n");
        h.start();
        h.form1().player->setText("B");
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        clickRow(h.form2().List1, 1);
        QTest::mouseClick(h.form2().Command3, Qt::LeftButton);
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.form1().List1->items(), QStringList({"A"}));
        QCOMPARE(h.form1().player->text(), QString("B"));
        QCOMPARE(h.form1().computer->text(), QString("MAD-3R_Marauder"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
