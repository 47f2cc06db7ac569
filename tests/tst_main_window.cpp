// The main window as drawn and as it behaves through its menu.
#include "test_support.h"

#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

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
        for (QWidget* bold : {static_cast<QWidget*>(f.Label1[0]), static_cast<QWidget*>(f.player),
                              static_cast<QWidget*>(f.Command4)}) {
            QVERIFY(bold->font().bold());
            QCOMPARE(bold->font().pointSizeF(), 9.75);
        }
        QCOMPARE(f.List1->font().pointSizeF(), 8.25);
        QVERIFY(!f.Command1->font().bold());

        // Menu: "Datei" with its three items, then the command "Info" on the bar.
        const QList<QAction*> bar = f.menuBar()->actions();
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
