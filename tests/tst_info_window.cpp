// The info window and the program's icon.
#include "test_support.h"

#include "config_window/form2.h"
#include "info_window/form3.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

namespace {

QList<Form3*> infoWindows() {
    QList<Form3*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* info = dynamic_cast<Form3*>(w))
            found.append(info);
    return found;
}

// Height that a label's text needs when wrapped within the label's width.
int neededHeight(const QLabel* label) {
    return label->fontMetrics()
        .boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text())
        .height();
}

} // namespace

class InfoWindowTest : public QObject {
    Q_OBJECT

private slots:
    void infoShowsOneWindowAgainAndAgain() {
        Harness h;
        h.start();
        QVERIFY(!h.app->isForm3Loaded());
        clickMenuBarCommand(h.form1(), h.form1().Info);
        QVERIFY(h.app->isForm3Loaded());
        Form3& info = h.app->form3();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QCOMPARE(info.focusWidget(), info.Command1);
        clickMenuBarCommand(h.form1(), h.form1().Info);
        QCOMPARE(infoWindows().size(), 1);

        QList<QRect> places;
        QStringList texts;
        for (QLabel* label : info.Label1) {
            places << label->geometry();
            texts << label->text();
        }
        QTest::mouseClick(info.Command1, Qt::LeftButton);
        QVERIFY(!info.isVisible());
        QVERIFY(h.form1().isVisible());
        clickMenuBarCommand(h.form1(), h.form1().Info);
        QVERIFY(info.isVisible());
        QCOMPARE(infoWindows().size(), 1);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(info.Label1[i]->geometry(), places[i]);
            QCOMPARE(info.Label1[i]->text(), texts[i]);
        }

        // Enter on the focused "OK" closes it too.
        QTest::keyClick(info.Command1, Qt::Key_Return);
        QVERIFY(!info.isVisible());
        clickMenuBarCommand(h.form1(), h.form1().Info);

        // Closing from the title bar hides it the same way; ending the program closes it.
        QVERIFY(info.close());
        clickMenuBarCommand(h.form1(), h.form1().Info);
        QVERIFY(info.isVisible());
        chooseDateiItem(h.form1(), h.form1().Beenden);
        QVERIFY(!info.isVisible());
    }

    void layoutAndTexts() {
        Harness h;
        h.start();
        clickMenuBarCommand(h.form1(), h.form1().Info);
        Form3& info = h.app->form3();
        QCOMPARE(info.windowTitle(), QString("Info"));
        QCOMPARE(info.size(), QSize(312, 213));
        QCOMPARE(info.Command1->geometry(), QRect(224, 184, 81, 25));
        QCOMPARE(info.Command1->text(), QString("OK"));
        QCOMPARE(info.Label1[1]->geometry(), QRect(80, 8, 217, 57));
        QCOMPARE(info.Label1[2]->geometry(), QRect(8, 120, 289, 17));
        QCOMPARE(info.Label1[3]->geometry(), QRect(8, 136, 289, 17));

        const QString description = QString::fromUtf8(
            "Dieses Programm dient dazu Mech´s bei Velmora Demo Alpha die Mechs leicht und "
            "schnell auszutauschen.");
        QCOMPARE(info.Label1[1]->text(), description);
        QCOMPARE(info.Label1[2]->text(),
                 QString::fromUtf8("Bei Fragen o. ä. schicke eine Mail an:"));
        QCOMPARE(info.Label1[3]->text(), QString("kovex@example.org"));
        QCOMPARE(info.Label1[4]->text(),
                 QString::fromUtf8("© 2026 das KOVEX-Team. Alle Rechte vorbehalten. Weitergabe "
                                   "nur unverändert und kostenlos. "));
        QCOMPARE(info.Label1[0]->text(), QString("Die Benutzung erfolgt auf eigene Gefahr!"));
        QCOMPARE(info.Label1[0]->font().family(), QString("Comic Sans MS"));
        QVERIFY(info.Label1[0]->font().bold());
        QCOMPARE(info.Label1[0]->font().pointSizeF(), 9.75);
        QCOMPARE(info.Label1[1]->font().family(), QString("Comic Sans MS"));
        QCOMPARE(info.Label1[1]->font().pointSizeF(), 8.25);

        // Top to bottom: description, notice, contact line, address, then warning beside OK.
        const int order[] = {1, 4, 2, 3, 0};
        for (int i = 0; i + 1 < 5; ++i)
            QVERIFY(info.Label1[order[i]]->y() < info.Label1[order[i + 1]]->y());
        // The notice and the warning touch nothing else.
        for (int placed : {4, 0}) {
            for (int other = 0; other < 5; ++other)
                QVERIFY(other == placed || !info.Label1[placed]->geometry().intersects(
                                               info.Label1[other]->geometry()));
            QVERIFY(!info.Label1[placed]->geometry().intersects(info.Command1->geometry()));
        }
        QVERIFY(info.Label1[0]->geometry().right() < info.Command1->geometry().left());
        QVERIFY(info.Label1[0]->geometry().intersects(
            QRect(0, info.Command1->y(), info.width(), info.Command1->height())));

        // Every text shows whole, the description on several lines.
        for (QLabel* label : info.Label1) {
            QVERIFY2(neededHeight(label) <= label->height(), qPrintable(label->text()));
            QVERIFY(info.rect().contains(label->geometry()));
        }
        QVERIFY(neededHeight(info.Label1[1]) > 2 * info.Label1[1]->fontMetrics().height());

        // Only "OK" takes the keyboard focus, and it is no default button.
        for (QLabel* label : info.Label1)
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY(!info.Command1->isDefault() && !info.Command1->autoDefault());
        renderToPng(&info, "form3.png");
    }

    void everyWindowShowsTheIcon() {
        Harness h;
        h.start();
        clickMenuBarCommand(h.form1(), h.form1().Info);
        QImage expected(":/icons/kovex.png");
        QVERIFY(!expected.isNull());
        for (QWidget* w : {static_cast<QWidget*>(&h.form1()), static_cast<QWidget*>(&h.form2()),
                           static_cast<QWidget*>(&h.app->form3())}) {
            const QImage shown = w->windowIcon().pixmap(expected.size()).toImage();
            QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32),
                     expected.convertToFormat(QImage::Format_ARGB32));
        }
    }

    void iconFileHoldsTheThreeImages() {
        QFile ico(QStringLiteral(KOVEX_SOURCE_DIR "/icons/kovex.ico"));
        QVERIFY(ico.open(QIODevice::ReadOnly));
        const QByteArray bytes = ico.readAll();
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
        QCOMPARE(u16(2), quint16(1)); // an icon
        QCOMPARE(u16(4), quint16(3));
        struct Entry {
            int size, colours, bits;
        };
        const Entry expected[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
        for (int i = 0; i < 3; ++i) {
            const char* e = bytes.constData() + 6 + 16 * i;
            QCOMPARE(int(quint8(e[0])), expected[i].size);
            QCOMPARE(int(quint8(e[1])), expected[i].size);
            QCOMPARE(int(quint8(e[2])), expected[i].colours);
            QCOMPARE(int(u16(6 + 16 * i + 6)), expected[i].bits);
        }
        // Qt reads every image of it.
        QImage big;
        QVERIFY(big.load(ico.fileName()));
        QCOMPARE(big.size(), QSize(32, 32));
    }
};

QTEST_MAIN(InfoWindowTest)
#include "tst_info_window.moc"
