// Settings files and names that no careful user writes, but some editor or accident will:
// no crash, no hang, a sensible list, and a save then load that keeps every name.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Saves from the menu and loads again; the names must come back as they were.
void expectRoundTrip(Harness& h, const QStringList& expected) {
    QCOMPARE(h.form1().List1->items(), expected);
    QCOMPARE(h.form2().List1->items(), expected);
    chooseDateiItem(h.form1(), h.form1().Speichern);
    QVERIFY(h.errors.isEmpty());
    QByteArray written = crlfLines(expected);
    if (!expected.isEmpty() && expected.first().startsWith(QChar(0xFEFF)))
        written.prepend("\xef\xbb\xbf");
    QCOMPARE(h.readAppFile("units.ini"), written);
    QCOMPARE(h.form1().List1->items(), expected);
    // A second save writes the very same bytes.
    chooseDateiItem(h.form1(), h.form1().Speichern);
    QCOMPARE(h.readAppFile("units.ini"), written);
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void oddNameFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("invalid UTF-8 reads as Windows-1252") << QByteArray("Gr\xfc\xdf"
                                                                           "e\r\n\xff\xfe\r\n")
                                                             << QStringList{"Grüße", "ÿþ"};
        QTest::newRow("NUL bytes") << QByteArray("A\0B\r\n\0\r\n", 8)
                                   << QStringList{QString::fromUtf8("A\0B", 3), QString(QChar(0))};
        QTest::newRow("CR only") << QByteArray("A\rB\rC") << QStringList{"A", "B", "C"};
        QTest::newRow("mixed line ends")
            << QByteArray("A\nB\r\nC\r\r\nD") << QStringList{"A", "B", "C", "", "D"};
        QTest::newRow("no last line end") << QByteArray("A\r\nB") << QStringList{"A", "B"};
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf"
                                                       "A\r\n\xef\xbb\xbf"
                                                       "B\r\n")
                                         << QStringList{"A", QString(QChar(0xFEFF)) + "B"};
        QTest::newRow("two byte-order marks") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf"
                                                            "A\r\n")
                                              << QStringList{QString(QChar(0xFEFF)) + "A"};
        QTest::newRow("names no file can have") << QByteArray("a/b\r\nc\\d\r\n<>:\"|?*\r\n..\r\n")
                                                << QStringList{"a/b", "c\\d", "<>:\"|?*", ".."};
        // One line added by an older editor leaves the UTF-8 lines around it as they are.
        QTest::newRow("mixed encodings")
            << QByteArray("Gr\xc3\xbc\xc3\x9f"
                          "e\r\nM\xfcller\r\n\xe2\x82\xac\r\n")
            << QStringList{QString::fromUtf8("Grüße"), QString::fromUtf8("Müller"),
                           QString::fromUtf8("€")};
        QTest::newRow("only line ends") << QByteArray("\r\n\r\n\n") << QStringList{"", "", ""};
        // The mark belongs to the file, not to the first name, whatever the later lines hold.
        QTest::newRow("byte-order mark, then a Windows-1252 line")
            << QByteArray("\xef\xbb\xbf"
                          "Atlas\r\nM\xfcller\r\n")
            << QStringList{"Atlas", QString::fromUtf8("Müller")};
        // The 32 bytes where Windows-1252 is not Latin-1, as the code page's chart has them;
        // the five it leaves free stand for the control characters of the same number.
        QByteArray high;
        for (int b = 0x80; b < 0xa0; ++b)
            high += "x" + QByteArray(1, char(b)) + "\r\n";
        QStringList chart;
        for (const QString& c :
             QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008dŽ\u008f\u0090‘’“”•–—˜™š›œ\u009džŸ"))
            chart << "x" + c;
        QTest::newRow("Windows-1252 from 0x80 to 0x9F") << high << chart;
        // Notepad's "Unicode" and its big-endian twin.
        const QString unicode = QString::fromUtf8("Grüße\r\nAtlas\r\n☃");
        QByteArray le("\xff\xfe"), be("\xfe\xff");
        for (const QChar c : unicode) {
            le += char(c.unicode() & 0xff) + QByteArray(1, char(c.unicode() >> 8));
            be += char(c.unicode() >> 8) + QByteArray(1, char(c.unicode() & 0xff));
        }
        QTest::newRow("UTF-16 LE")
            << le << QStringList{QString::fromUtf8("Grüße"), "Atlas", QString::fromUtf8("☃")};
        QTest::newRow("UTF-16 BE")
            << be << QStringList{QString::fromUtf8("Grüße"), "Atlas", QString::fromUtf8("☃")};
    }
    void oddNameFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        Harness h;
        h.writeAppFile("units.ini", bytes);
        h.start();
        QVERIFY(h.errors.isEmpty());
        expectRoundTrip(h, names);
    }

    // What is stored stays the game folder, used as no folder: shown as not there, saved back
    // as it was, and the names load.
    void oddKonfigsFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("stored");
        QTest::newRow("invalid UTF-8") << QByteArray("/t\xffmp\r\n") << QString::fromUtf8("/tÿmp");
        QTest::newRow("NUL in the path")
            << QByteArray("/tmp\0/x\r\n", 9) << QString::fromUtf8("/tmp\0/x", 7);
        QTest::newRow("10 MiB line")
            << QByteArray(10 * 1024 * 1024, 'x') << QString(10 * 1024 * 1024, 'x');
        QTest::newRow("a file, not a folder") << QByteArray("/etc/hostname\r\n") << "/etc/hostname";
    }
    void oddKonfigsFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, stored);
        Harness h;
        h.writeAppFile("Konfigs.ini", bytes);
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.form2().Dir1->Path(), stored);
        QVERIFY(h.form2().Dir1->isMissing());
        QCOMPARE(h.form1().List1->items(), QStringList({"A"}));
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(native(stored).toUtf8() + "\r\n"));
    }

    void aTenMebibyteName() {
        const QString huge(10 * 1024 * 1024, QLatin1Char('M'));
        Harness h;
        GameFixture game(h);
        h.writeAppFile("Konfigs.ini", game.game.toUtf8() + "\r\n");
        h.writeAppFile("units.ini", crlfLines({"short", huge, "after"}));
        h.start();
        QCOMPARE(h.form1().List1->ListCount(), 3);
        QCOMPARE(h.form1().List1->List(1).size(), huge.size());
        // Shown cut short, kept whole.
        const QString shown = h.form1().List1->model()->index(1, 0).data().toString();
        QVERIFY(shown.size() < 2000);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        renderToPng(&h.form1(), "form1_long_name_listed.png");
        clickRow(h.form1().List1, 1);
        QTest::mouseClick(h.form1().Command1, Qt::LeftButton);
        QCOMPARE(h.form1().player->text().size(), huge.size());
        renderToPng(&h.form1(), "form1_long_name_in_slot.png");
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(h.errors.size(), 1); // no such configuration; nothing else happens
        h.errors.clear();
        expectRoundTrip(h, {"short", huge, "after"});
        // Cut between characters, never inside one: not between a surrogate pair's halves.
        h.form1().List1->AddItem(QString(999, 'x') + QString::fromUtf8("😀 after"));
        QCOMPARE(h.form1().List1->model()->index(3, 0).data().toString(),
                 QString(999, 'x') + QChar(0x2026));
    }

    void gameFolderWithNonAsciiCharacters() {
        QTemporaryDir root;
        const QString game = root.filePath(QString::fromUtf8("Spiele/Velmöra Straße ☃"));
        QVERIFY(QDir().mkpath(game + "/Mechdata"));
        {
            Harness h;
            QVERIFY(QDir(h.appDir.path()).mkdir("configs"));
            h.writeAppFile("configs/Atlas.txt", "atlas");
            h.start();
            h.form2().Dir1->setPath(game);
            chooseDateiItem(h.form1(), h.form1().Speichern);
            QVERIFY(h.readAppFile("Konfigs.ini").startsWith(native(game).toUtf8() + "\r\n"));

            // Read back as it was written, and used.
            Harness again;
            again.writeAppFile("Konfigs.ini", h.readAppFile("Konfigs.ini"));
            again.start();
            QCOMPARE(again.form2().Dir1->Path(), game);
        }
    }

    void pastedLineBreaksStayOneName() {
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        f.Text1->clear();
        QApplication::clipboard()->setText("Atlas\r\nAS7-D\n");
        f.Text1->setFocus();
        QTest::keyClick(f.Text1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.Text1->text(), QString("Atlas AS7-D"));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas AS7-D\r\n"));
        QCOMPARE(h.form1().List1->items(), QStringList({"Atlas AS7-D"}));
    }
};

QTEST_MAIN(BadInputTest)
#include "tst_bad_input.moc"
