// The settings routines without any window, on plain folders: what they read into the
// controls, the bytes they write, and the question about a file changed by someone else.
#include "recording_controls.h"
#include "test_files.h"

#include "settings/application_files.h"
#include "settings/module1.h"

#include <QTemporaryDir>
#include <QTest>

class SettingsLayerTest : public QObject {
    Q_OBJECT

private slots:
    void theSettingsStoreWorksWithoutWindows() {
        QTemporaryDir app;
        QTemporaryDir game;
        RecordingControls controls;
        const ApplicationFiles files(app.path());
        Module1 settings(files, controls);
        writeFile(app.filePath("Konfigs.ini"), game.path().toUtf8() + "\r\nignored\r\n");
        writeFile(app.filePath("units.ini"), "x\r\ny\r\n");
        settings.ReadSettings();
        QCOMPARE(controls.calls, QStringList({"load", "folder " + game.path(), "show x,y"}));

        controls.calls.clear();
        controls.names = QStringList{"A", "", "A"};
        controls.folder = app.path();
        settings.SaveSettings();
        QCOMPARE(readFile(app.filePath("Konfigs.ini")),
                 crlfLines({native(app.path()), native(app.filePath("configs"))}));
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("A\r\n\r\nA\r\n"));
        // The save ends by reading back what it wrote.
        QCOMPARE(controls.calls, QStringList({"load", "folder " + app.path(), "show A,,A"}));
    }

    // Someone else changed a settings file: the user is asked while no copy of the program
    // holds the folder, and a change made while the question was open is asked about again.
    // "Nein" writes nothing.
    void aChangedFileIsAskedAboutWithNoLockHeld() {
        QTemporaryDir app;
        RecordingControls controls;
        const ApplicationFiles files(app.path());
        Module1 settings(files, controls);
        settings.ReadSettings();
        controls.names = QStringList{"mine"};
        writeFile(app.filePath("units.ini"), "editor\r\n");
        int asked = 0;
        bool free = true;
        controls.whileAsked = [&] {
            free = free && lockedByNobody({app.path()});
            if (++asked == 1)
                writeFile(app.filePath("units.ini"), "editor, again\r\n");
        };
        controls.answerYes = true;
        settings.SaveSettings();
        QVERIFY(free);
        QCOMPARE(asked, 2);
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("mine\r\n"));

        writeFile(app.filePath("units.ini"), "editor\r\n");
        const QByteArray konfigs = readFile(app.filePath("Konfigs.ini"));
        controls.answerYes = false;
        settings.SaveSettings();
        QCOMPARE(asked, 3);
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("editor\r\n"));
        QCOMPARE(readFile(app.filePath("Konfigs.ini")), konfigs);
    }
};

QTEST_GUILESS_MAIN(SettingsLayerTest)
#include "tst_settings_layer.moc"
