// The settings files through the real windows: bytes on disk, lists, and failures.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"
#include "settings/module1.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace {

QStringList namesOf(const ListBox* list) {
    return list->items();
}

} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartCreatesEmptyFiles() {
        Harness h;
        h.start();
        QCOMPARE(h.readAppFile("Konfigs.ini"), QByteArray());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray());
        QCOMPARE(h.form1().List1->ListCount(), 0);
        QCOMPARE(h.form2().List1->ListCount(), 0);
        QCOMPARE(h.form2().Dir1->Path(), QDir::currentPath());
        QVERIFY(h.app->isForm2Loaded());
        QVERIFY(!h.form2().isVisible());
        QVERIFY(h.errors.isEmpty());
    }

    void saveWritesExactBytes() {
        QTemporaryDir game;
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        h.form2().Dir1->setPath(game.path());
        addName(h.form2(), "A");
        addName(h.form2(), "B");
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);

        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nB\r\n"));
        QCOMPARE(h.readAppFile("Konfigs.ini"),
                 crlfLines({native(game.path()), native(h.appPath("configs"))}));
        QCOMPARE(namesOf(h.form1().List1), QStringList({"A", "B"}));
        QVERIFY(!h.form2().isVisible());
        QVERIFY(h.errors.isEmpty());
    }

    void storedGameFolderIsApplied() {
        QTemporaryDir game;
        Harness h;
        // A single line without a line end still counts.
        h.writeAppFile("Konfigs.ini", game.path().toUtf8());
        h.writeAppFile("units.ini", "x\r\ny\r\n");
        h.start();
        QCOMPARE(h.form2().Dir1->Path(), game.path());
        QCOMPARE(namesOf(h.form2().List1), QStringList({"x", "y"}));
        QVERIFY(h.errors.isEmpty());
    }

    // No folder stored: the list starts on the current folder, and no game folder is chosen.
    void noStoredFolder_data() {
        QTest::addColumn<QByteArray>("konfigs");
        QTest::newRow("empty first line") << QByteArray("\r\n/x/configs\r\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("byte-order mark only") << QByteArray("\xef\xbb\xbf");
    }
    void noStoredFolder() {
        QFETCH(QByteArray, konfigs);
        Harness h;
        h.writeAppFile("Konfigs.ini", konfigs);
        h.writeAppFile("units.ini", "x\r\n");
        h.start();
        QCOMPARE(h.form2().Dir1->Path(), QDir::currentPath());
        QVERIFY(!h.form2().Dir1->isChosen());
        QCOMPARE(namesOf(h.form1().List1), QStringList({"x"}));
        QVERIFY(h.errors.isEmpty());
        // Nothing was rewritten by reading.
        QCOMPARE(h.readAppFile("Konfigs.ini"), konfigs);
    }

    void everyNameSurvivesSaveAndReload() {
        // More than a thousand names, empty names and duplicates, in their order: the lists hold
        // the first thousand, the file keeps them all.
        QStringList names;
        for (int i = 0; i < 1500; ++i)
            names << QStringLiteral("Mech_%1").arg(i);
        names << ""
              << "Mech_7"
              << "";
        Harness h;
        h.writeAppFile("units.ini", crlfLines(names));
        h.start();
        QCOMPARE(namesOf(h.form1().List1), names.mid(0, 1000));
        QCOMPARE(namesOf(h.form2().List1), names.mid(0, 1000));

        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), crlfLines(names));
        QCOMPARE(namesOf(h.form1().List1), names.mid(0, 1000));
    }

    void textEncodings() {
        Harness h;
        // Older files are single-byte Windows text; LF alone also ends a line.
        h.writeAppFile("units.ini", "M\xfcller\nStra\xdf"
                                    "e\r\n\x80uro");
        h.start();
        const QStringList expected{QStringLiteral("Müller"), QStringLiteral("Straße"),
                                   QStringLiteral("€uro")};
        QCOMPARE(namesOf(h.form1().List1), expected);

        // Saved again as UTF-8 without a byte-order mark, and read back the same.
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("M\xc3\xbcller\r\nStra\xc3\x9f"
                                                        "e\r\n\xe2\x82\xacuro\r\n"));
        QCOMPARE(namesOf(h.form1().List1), expected);

        // A byte-order mark from another editor is not part of the first name.
        h.writeAppFile("units.ini", "\xef\xbb\xbf"
                                    "A\r\n");
        h.app->module1().ReadSettings();
        QCOMPARE(namesOf(h.form1().List1), QStringList({"A"}));
    }

    void saveWithoutOpeningTheWindowKeepsWhatWasLoaded() {
        QTemporaryDir game;
        Harness h;
        const QByteArray konfigs = crlfLines({native(game.path()), native(h.appPath("configs"))});
        h.writeAppFile("Konfigs.ini", game.path().toUtf8() + "\r\n/old/hand/edited\r\n");
        h.writeAppFile("units.ini", "A\r\nB\r\n");
        h.start();
        clickRow(h.form1().List1, 1);
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.readAppFile("Konfigs.ini"), konfigs);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nB\r\n"));
        QCOMPARE(h.form1().List1->ListIndex(), -1);
        QVERIFY(!h.form2().isVisible());
    }

    void settingsFileRemovedWhileRunningIsWrittenAnew() {
        Harness h;
        h.start();
        addName(h.form2(), "A");
        QVERIFY(QFile::remove(h.appPath("Konfigs.ini")));
        QVERIFY(QFile::remove(h.appPath("units.ini")));
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
        QVERIFY(h.readAppFile("Konfigs.ini").endsWith(native("/configs\r\n").toUtf8()));
    }

    void unreadableApplicationFolderStillShowsTheWindow() {
        Harness h;
        // An application folder that does not exist cannot hold settings, not even for root.
        auto app = std::make_unique<KovexApp>(h.appPath("gone"));
        QList<KovexError> errors;
        app->errorReport().setCapture([&](const KovexError& e) { errors.append(e); });
        app->start();
        QVERIFY(QTest::qWaitForWindowExposed(&app->form1()));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().number(), int(KovexError::PathNotFound));
        QCOMPARE(app->form1().List1->ListCount(), 0);
    }

    void unreadableNamesFileIsReportedOnceAfterOneRetry() {
        Harness h;
        h.writeAppFile("units.ini", "keep\r\n");
        h.start();
        QVERIFY(QFile::remove(h.appPath("units.ini")));
        QVERIFY(QDir(h.appDir.path()).mkdir("units.ini"));
        chooseDateiItem(h.form1(), h.form1().Speichern);
        // The writer cannot replace a folder; the lists keep what they showed.
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(namesOf(h.form1().List1), QStringList({"keep"}));

        // Outside a handler the failure reaches the caller after the one retry.
        QVERIFY_THROWS_EXCEPTION(KovexError, h.app->module1().ReadSettings());
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_settings_store.moc"
