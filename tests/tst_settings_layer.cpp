// The settings routines without any window, on plain folders: what they read into the
// controls, the bytes they write, and the question about a file changed by someone else.
#include "recording_controls.h"
#include "test_files.h"

#include "settings/application_files.h"
#include "settings/configuration_files.h"
#include "settings/configuration_import.h"
#include "settings/module1.h"

#include "files/kovex_error.h"

#include <QDateTime>
#include <QDir>

#include <QFile>
#include <QFileInfo>
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

    // A file taken into configs: copied whole under its name, or left where configs holds its
    // bytes already, or replaced only after "Ja"; refused, naming it, when it cannot be a
    // configuration, with nothing made or left in configs.
    void aFileTakenIntoConfigs_data() {
        QTest::addColumn<QString>("file");     // in the source folder; "/" at the end: a folder
        QTest::addColumn<QByteArray>("there"); // configs/Atlas.txt before, or null
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("result");   // the name, "-" for none, or the number refused
        QTest::addColumn<QByteArray>("after"); // configs/Atlas.txt after, or null
        QTest::newRow("new") << "Atlas.txt" << QByteArray() << false << "Atlas"
                             << QByteArray("new");
        QTest::newRow("the same bytes")
            << "Atlas.txt" << QByteArray("new") << false << "Atlas" << QByteArray("new");
        QTest::newRow("other bytes, Nein")
            << "Atlas.txt" << QByteArray("old") << false << "-" << QByteArray("old");
        QTest::newRow("other bytes, Ja")
            << "Atlas.txt" << QByteArray("old") << true << "Atlas" << QByteArray("new");
        QTest::newRow("known in another case")
            << "ATLAS.TXT" << QByteArray("old") << true << "Atlas" << QByteArray("new");
        for (const char* refused : {"Atlas.dat", "CON.txt", "a:b.txt", "end .txt", ".txt"})
            QTest::newRow(refused) << refused << QByteArray() << true << "52" << QByteArray();
        QTest::newRow("a folder") << "Atlas.txt/" << QByteArray() << true << "75" << QByteArray();
        QTest::newRow("missing") << "Gone.txt" << QByteArray("old") << true << "53"
                                 << QByteArray("old");
    }
    void aFileTakenIntoConfigs() {
        QFETCH(QString, file);
        QFETCH(QByteArray, there);
        QFETCH(bool, yes);
        QFETCH(QString, result);
        QFETCH(QByteArray, after);
        QTemporaryDir app;
        QTemporaryDir from;
        const QString source = from.filePath(file.chopped(file.endsWith('/') ? 1 : 0));
        if (file.endsWith('/'))
            QVERIFY(QDir().mkpath(source));
        else if (file != "Gone.txt" && result != "52") // a name refused is never opened
            writeFile(source, "new");
        const QString configs = app.filePath("configs");
        if (!there.isNull()) {
            QVERIFY(QDir().mkpath(configs));
            writeFile(configs + "/Atlas.txt", there);
        }
        const ApplicationFiles files(app.path());
        QStringList asked;
        const ConfigurationImport import(files, [&](const QString& question) {
            asked << question;
            return yes;
        });
        QString got;
        try {
            got = import.importFile(source).value_or("-");
        } catch (const KovexError& error) {
            got = QString::number(error.number());
            QVERIFY2(error.description().contains(native(source)), qPrintable(error.description()));
        }
        QCOMPARE(got, result);
        const bool refused = result.at(0).isDigit();
        QCOMPARE(asked.size(), !there.isNull() && there != "new" && !refused ? 1 : 0);
        if (after.isNull())
            QVERIFY(!QFileInfo::exists(configs));
        else
            QCOMPARE(filesIn(configs), QStringList({"Atlas.txt"}));
        QCOMPARE(readFile(configs + "/Atlas.txt"), after.isNull() ? "<missing>" : after);
    }

    // What a row's tool tip tells of a configuration's file: where it is, its size and date, its
    // first five lines, each cut after 80 characters; or that it is missing.
    void aConfigurationsFileDescribed() {
        QTemporaryDir configs;
        writeFile(configs.filePath("Atlas.txt"),
                  "1\r\n" + QByteArray(100, 'x') + "\r\n3\r\n4\r\n5\r\n6\r\n");
        QFile atlas(configs.filePath("Atlas.txt"));
        QVERIFY(atlas.open(QIODevice::ReadWrite) &&
                atlas.setFileTime(QDateTime(QDate(2026, 3, 4), QTime(5, 6)),
                                  QFileDevice::FileModificationTime));
        atlas.close(); // Windows removes no open file
        const ConfigurationFiles files(configs.path());
        QCOMPARE(files.names(), QStringList({"Atlas"}));
        const QStringList tip = files.describe("atlas").split('\n');
        QCOMPARE(tip.size(), 7);
        QCOMPARE(tip[0], native(configs.filePath("Atlas.txt")));
        QCOMPARE(tip[1], QString("117 Bytes, 04.03.2026 05:06")); // day, month, year
        QCOMPARE(tip.mid(2), QStringList({"1", QString(80, 'x') + QChar(0x2026), "3", "4", "5"}));
        QCOMPARE(files.describe("Gone"),
                 QString("Die Datei „%1“ fehlt.").arg(native(configs.filePath("Gone.txt"))));
        // Gone since configs was looked at: the tool tip says so all the same.
        QVERIFY(QFile::remove(configs.filePath("Atlas.txt")));
        QVERIFY(files.describe("Atlas").startsWith("Die Datei „"));
    }
};

QTEST_GUILESS_MAIN(SettingsLayerTest)
#include "tst_settings_layer.moc"
