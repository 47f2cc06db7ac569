// Faults in the file system, met through the real windows: what the user is told, that the
// program stays up, and the bytes of every file afterwards.
#include "scratch_mounts.h"
#include "test_platform.h"
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/brief_notice.h"
#include "controls/list_box.h"
#include "files/folder_lock.h"
#include "main_window/form1.h"
#include "settings/module1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <thread>

namespace {

// A tmpfs on a test folder for as long as the object lives.
class ScratchMount {
public:
    ScratchMount(const QString& folder, int kibibytes, int inodes = 0) : m_folder(folder) {
        m_mounted = scratch_mounts::mountTmpfs(folder, kibibytes, inodes);
    }
    ~ScratchMount() {
        if (m_mounted)
            scratch_mounts::unmount(m_folder);
    }
    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

#define REQUIRE_SCRATCH_MOUNTS()                                                                   \
    if (!scratch_mounts::available())                                                              \
    QSKIP("needs a private mount namespace (Linux, as root) for a read-only file system of the "   \
          "test's own; under Wine, Windows' read-only attributes are tested in tst_platform_win")

#define REQUIRE_SMALL_DISK(disk)                                                                   \
    if (!(disk).ready())                                                                           \
    QSKIP("no small disk here: needs a private mount namespace (root), or under Wine the small "   \
          "drive of tools/wine-run.sh --small-drive")

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    // A configuration or unit file that is no regular file is refused before any file changes;
    // a unit file linked to a named pipe keeps its link and the pipe.
    void configOrUnitFileThatIsNoFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::newRow("configuration file a folder") << "configs/Atlas.txt"
                                                     << "folder" << 53;
        QTest::newRow("player unit a folder") << "game/Mechdata/WHM-6K_Warhammer.txt"
                                              << "folder" << 75;
        if (test_platform::hasNamedPipes())
            QTest::newRow("computer unit linked to a pipe") << "game/Mechdata/MAD-3R_Marauder.txt"
                                                            << "fifo link" << 75;
    }
    void configOrUnitFileThatIsNoFile() {
        QFETCH(QString, path);
        QFETCH(QString, kind);
        QFETCH(int, number);
        Harness h;
        GameFixture g(h, h.appPath("game"));
        QVERIFY(QFile::remove(h.appPath(path)));
        const QString pipe = h.appPath("pipe");
        if (kind == "folder") {
            QVERIFY(QDir(h.appDir.path()).mkpath(path));
        } else {
            QVERIFY(test_platform::makeNamedPipe(pipe));
            QVERIFY(QFile::link(pipe, h.appPath(path)));
        }
        g.start();
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), number);
        if (!path.contains("WHM"))
            QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
        if (!path.contains("MAD"))
            QCOMPARE(g.unitBytes("MAD-3R_Marauder"), kOriginalMarauder);
        QVERIFY(QFileInfo::exists(h.appPath(path)) && !QFileInfo(h.appPath(path)).isFile());
        QVERIFY(kind == "folder" || QFileInfo(h.appPath(path)).isSymLink());
        QVERIFY(h.form1().isVisible());
    }

    // Links are followed, but what a settings file is must be a regular file: a named pipe
    // would hang the start, a device would be read without end, a folder cannot be read at all.
    // One report at the start, the window up; "OK" with the tick then reports that the file was
    // not read, keeps the window open with the unsaved name, and writes neither file.
    void specialFilesAsSettingsFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const char* name : {"units.ini", "Konfigs.ini"}) {
            QTest::addRow("%s a folder", name) << name << "folder";
            if (test_platform::hasNamedPipes())
                QTest::addRow("%s a named pipe", name) << name << "fifo";
        }
        if (test_platform::hasNamedPipes())
            QTest::newRow("units.ini linked to /dev/zero") << "units.ini"
                                                           << "/dev/zero";
    }
    void specialFilesAsSettingsFiles() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        Harness h;
        h.writeAppFile("Konfigs.ini", "");
        h.writeAppFile("units.ini", "A\r\n");
        QVERIFY(QFile::remove(h.appPath(name)));
        if (kind == "folder")
            QVERIFY(QDir(h.appDir.path()).mkdir(name));
        else if (kind == "fifo")
            QVERIFY(test_platform::makeNamedPipe(h.appPath(name)));
        else
            QVERIFY(QFile::link(kind, h.appPath(name)));
        h.start();
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PathFileAccessError));
        QVERIFY(h.form1().isVisible());

        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        addName(h.form2(), "B");
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        QCOMPARE(h.errors.size(), 2);
        QCOMPARE(h.errors.last().number(), 75);
        QVERIFY2(h.errors.last().description().contains(name),
                 qPrintable(h.errors.last().description()));
        QVERIFY(h.form2().isVisible());
        QVERIFY(h.form2().List1->items().contains("B"));
        QVERIFY(QFileInfo::exists(h.appPath(name)) && !QFileInfo(h.appPath(name)).isFile());
        const QString other = name == "units.ini" ? "Konfigs.ini" : "units.ini";
        QCOMPARE(h.readAppFile(other), other == "units.ini" ? QByteArray("A\r\n") : QByteArray());
        for (const QString& entry : filesIn(h.appDir.path())) // no temporary file left
            QVERIFY2(entry == "units.ini" || entry == "Konfigs.ini", qPrintable(entry));
    }

    void aSettingsFileOverAGibibyteIsRefused() {
        Harness h;
        QFile huge(h.appPath("units.ini"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize((qint64(1) << 30) + 1)); // sparse: takes no room on the disk
        huge.close();
        h.start();
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), 7);
        QVERIFY(h.form1().isVisible());
    }

    // Another copy of the program holds the folder (here a thread of the test's, for on
    // Windows a copy's hold belongs to its thread): this one waits a while, then reports and
    // changes nothing. With a holder that lets go within the wait it goes on as if nothing had
    // been.
    void aFolderHeldByAnotherCopy_data() {
        QTest::addColumn<bool>("applying");
        QTest::addColumn<int>("heldMs");
        QTest::newRow("saving, held") << false << 7000;
        QTest::newRow("applying, held") << true << 7000;
        QTest::newRow("saving, let go") << false << 1000;
        QTest::newRow("applying, let go") << true << 1000;
    }
    void aFolderHeldByAnotherCopy() {
        QFETCH(bool, applying);
        QFETCH(int, heldMs);
        Harness h;
        GameFixture g(h);
        g.start();
        h.form2().List1->AddItem("saved");
        const QString folder = applying ? g.game + "/Mechdata" : h.appDir.path();
        // Held under another spelling of the same folder.
        const QString other = test_platform::otherSpellingOf(folder, h.appPath("configs"));
        QSemaphore held;
        QSemaphore done;
        std::thread holder([&] {
            const FolderLock lock(other);
            held.release();
            done.tryAcquire(1, heldMs);
        });
        held.acquire();
        if (applying)
            g.applyWith("Atlas", "Locust");
        else
            chooseDateiItem(h.form1(), h.form1().Speichern);
        done.release();
        holder.join();
        if (heldMs < FolderLock::kWaitMs) {
            QCOMPARE(h.errors.size(), 0);
            if (applying)
                QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
            else
                QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\nsaved\r\n"));
            return;
        }
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().description(),
                 QString("Zugriff verweigert: %1 (wird gerade von einem anderen KOVEX benutzt)")
                     .arg(native(folder)));
        g.expectGameUntouched();
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        QCOMPARE(QDir(h.appPath("configs")).entryList(QDir::Files),
                 QStringList({"Atlas.txt", "Locust.txt"}));
    }

    // The stored game folder is not there (a drive not plugged in): it stays the game folder.
    // An apply names it and changes nothing, least of all a game in the current folder; a save
    // keeps it.
    void aMissingStoredGameFolderStaysTheGameFolder() {
        Harness h;
        GameFixture here(h, h.appPath("here"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(here.game));
        const QString missing = h.appPath("usb-stick/Velmora");
        h.writeAppFile("Konfigs.ini", native(missing).toUtf8() + "\r\n");
        h.writeAppFile("units.ini", "Atlas\r\nLocust\r\n");
        h.start();
        QDir::setCurrent(before);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.form2().Dir1->Path(), missing);
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QTreeWidgetItem* shown = h.form2().Dir1->tree()->currentItem();
        QVERIFY(shown && shown->text(0).contains("nicht gefunden"));
        // Greyed, as a folder that is not there.
        QCOMPARE(shown->foreground(0).color(),
                 h.form2().palette().color(QPalette::Disabled, QPalette::Text));
        QVERIFY(shown->font(0).italic());
        QCOMPARE(shown->parent()->data(0, Qt::UserRole).toString(), h.appDir.path());
        renderToPng(&h.form2(), "form2_missing_folder.png");

        here.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().description(),
                 QString("Pfad nicht gefunden: %1").arg(native(missing)));
        here.expectGameUntouched();
        QVERIFY(!QDir(keptFolderOf(here.game)).exists());

        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 1);
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(native(missing).toUtf8() + "\r\n"));
        QCOMPARE(h.form2().Dir1->Path(), missing);

        // Another folder opened: its subfolders show. Read again while the window shows it: the
        // stored one shows again.
        h.form2().Dir1->setPath(here.game);
        QTreeWidgetItem* opened = h.form2().Dir1->tree()->currentItem();
        QVERIFY(opened->childCount() == 1 && opened->child(0)->text(0) == "Mechdata");
        h.app->module1().ReadSettings();
        QVERIFY(h.form2().Dir1->tree()->currentItem()->text(0).contains("nicht gefunden"));

        // Plugged in again: the same folder is the game folder, and the apply goes there.
        GameFixture back(h, missing);
        back.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(back.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
    }

    // A name added by an editor while KOVEX runs: a save asks before it writes over it, and
    // "Nein" leaves both files as they are.
    void aSettingsFileChangedSinceItWasReadIsNotSavedOverUnasked() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        addName(h.form2(), "B");
        const QByteArray konfigs = h.readAppFile("Konfigs.ini");
        h.writeAppFile("units.ini", "A\r\nvom Editor\r\n");
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.questions.size(), 1);
        QVERIFY2(h.questions.first().contains(native(h.appPath("units.ini"))),
                 qPrintable(h.questions.first()));
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nvom Editor\r\n"));
        QCOMPARE(h.readAppFile("Konfigs.ini"), konfigs);

        // "Ja": saved, and the next save asks nothing.
        h.answerYes = true;
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.questions.size(), 2);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nB\r\n"));
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.questions.size(), 2);

        // The real box: "KOVEX", "&Ja" and "&Nein", "Nein" the default.
        h.writeAppFile("Konfigs.ini", "");
        h.app->errorReport().setAnswer({});
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() << box->defaultButton()->text();
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(seen, QStringList({"KOVEX", "&Nein", "&Ja", "&Nein"}));
        QCOMPARE(h.readAppFile("Konfigs.ini"), QByteArray());
    }

    // A save never writes what the next start would refuse: over 1 GiB it is refused, and the
    // file stays as it was.
    void aSaveOverAGibibyteIsRefused() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        h.form2().List1->Clear();
        h.form2().List1->AddItem(QString((qint64(1) << 30) - 2 + 1, 'x')); // one byte over
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(
            h.errors.first().description(),
            QString::fromUtf8("Nicht genügend Speicher: %1").arg(native(h.appPath("units.ini"))));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
        QCOMPARE(filesIn(h.appDir.path()), QStringList({"Konfigs.ini", "units.ini"}));
    }

    // The application folder on a file system that refuses: read-only with the settings files
    // in it, read-only at the first start, or without room for another file. The start reports
    // what cannot be made; a save through "OK" reports and keeps the window open; nothing is
    // written and the lists keep what was read.
    void anApplicationFolderThatRefuses_data() {
        QTest::addColumn<QByteArray>("names"); // units.ini as it was, or null for none
        QTest::addColumn<int>("inodes");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("atStart");
        QTest::addColumn<QString>("atSave");
        QTest::newRow("read-only") << QByteArray("A\r\nB\r\n") << 0 << true << QString()
                                   << "Zugriff verweigert: Konfigs.ini";
        QTest::newRow("read-only at the first start")
            << QByteArray() << 0 << true << "Zugriff verweigert: Konfigs.ini"
            << "Fehler beim Zugriff auf Pfad/Datei: Konfigs.ini";
        QTest::newRow("no room for another file")
            << QByteArray() << 2 << false << QString::fromUtf8("Datenträger voll: units.ini")
            << "Fehler beim Zugriff auf Pfad/Datei: units.ini";
    }
    void anApplicationFolderThatRefuses() {
        REQUIRE_SCRATCH_MOUNTS();
        QFETCH(QByteArray, names);
        QFETCH(int, inodes);
        QFETCH(bool, readOnly);
        QFETCH(QString, atStart);
        QFETCH(QString, atSave);
        Harness h;
        ScratchMount mount(h.appDir.path(), 256, inodes); // with 2 inodes: its root and a file
        QVERIFY(mount.mounted());
        if (!names.isNull() || inodes)
            h.writeAppFile("Konfigs.ini", "");
        if (!names.isNull())
            h.writeAppFile("units.ini", names);
        const QStringList before = filesIn(h.appDir.path());
        if (readOnly)
            QVERIFY(scratch_mounts::remountReadOnly(h.appDir.path()));
        h.start();
        const auto named = [&](const QString& text) {
            const QString file = text.section(": ", 1);
            return text.section(": ", 0, 0) + ": " + native(h.appPath(file));
        };
        QCOMPARE(h.errors.size(), atStart.isEmpty() ? 0 : 1);
        if (!atStart.isEmpty())
            QVERIFY2(h.errors.first().description().startsWith(named(atStart)),
                     qPrintable(h.errors.first().description()));
        QVERIFY(h.form1().isVisible());
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        addName(h.form2(), "C");
        h.errors.clear();
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        QVERIFY(!h.errors.isEmpty());
        QVERIFY2(h.errors.first().description().startsWith(named(atSave)),
                 qPrintable(h.errors.first().description()));
        QVERIFY(h.form2().isVisible());
        QCOMPARE(filesIn(h.appDir.path()), before);
        QCOMPARE(h.readAppFile("units.ini"), names.isNull() ? QByteArray("<missing>") : names);
        QCOMPARE(h.form1().List1->items(), QString(names).split("\r\n", Qt::SkipEmptyParts));
    }

    // The game folder cannot take the game's own units, from the first (read-only) or only the
    // second (full, part-way through its copy): asked first, and "Nein" changes nothing, not
    // even the first unit kept; "Ja" assigns all the same.
    void aKeptFolderThatFailsAsksBeforeAssigning_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only") << true;
        QTest::newRow("full with the second unit") << false;
    }
    void aKeptFolderThatFailsAsksBeforeAssigning() {
        REQUIRE_SCRATCH_MOUNTS();
        QFETCH(bool, readOnly);
        Harness h;
        GameFixture g(h);
        const QByteArray marauder(200 * 1024, 'm'); // more than the disk holds
        writeFile(g.unit("MAD-3R_Marauder"), marauder);
        const QString kept = keptFolderOf(g.game);
        QVERIFY(QDir().mkdir(kept));
        ScratchMount mount(kept, 64);
        QVERIFY(mount.mounted());
        QVERIFY(!readOnly || scratch_mounts::remountReadOnly(kept));
        g.start();
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.questions, QStringList(QString::fromUtf8("Die eigenen Einheitendateien des "
                                                            "Spiels können nicht im Ordner „%1“ "
                                                            "aufbewahrt werden.\n\nTrotzdem "
                                                            "zuweisen?")
                                              .arg(native(kept))));
        QVERIFY(h.errors.isEmpty());
        // "Nein" assigned nothing, so nothing claims it did.
        QVERIFY(!h.form1().notice()->isVisible());
        QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
        QCOMPARE(g.unitBytes("MAD-3R_Marauder"), marauder);
        QCOMPARE(filesIn(kept), QStringList());
        h.answerYes = true;
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(h.questions.size(), 2);
        QVERIFY(h.form1().notice()->isVisible());
        QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(g.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        QVERIFY(h.errors.isEmpty());
    }

    void readOnlyMechdata() {
        REQUIRE_SCRATCH_MOUNTS();
        Harness h;
        QTemporaryDir game;
        ScratchMount mount(game.path(), 64);
        QVERIFY(mount.mounted());
        GameFixture g(h, game.path());
        QVERIFY(scratch_mounts::remountReadOnly(game.path()));
        g.start();
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PermissionDenied));
        QVERIFY2(h.errors.first().description().contains(native(game.path() + "/Mechdata")),
                 qPrintable(h.errors.first().description()));
        g.expectGameUntouched();
        QVERIFY(h.form1().isVisible());
    }

    void diskFullWhileSaving() {
        const SmallDisk disk(64);
        REQUIRE_SMALL_DISK(disk);
        Harness h(disk.folder());
        h.writeAppFile("units.ini", "old\r\n");
        h.start();
        QStringList names;
        for (int i = 0; i < 8000; ++i) // about 100 KiB: more than the disk holds
            names << QStringLiteral("Configuration_%1").arg(i);
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        h.form2().List1->AddItems(names);
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton); // "OK" with the tick
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::DiskFull));
        QCOMPARE(h.errors.first().description(),
                 QString::fromUtf8("Datenträger voll: %1").arg(native(h.appPath("units.ini"))));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("old\r\n"));
        QCOMPARE(h.form1().List1->items(), QStringList({"old"}));
        // The window stays open with every unsaved name.
        QVERIFY(h.form2().isVisible());
        QCOMPARE(h.form2().List1->ListCount(), 8001);
        // The half-written temporary file is gone, so the disk is not left full.
        QCOMPARE(filesIn(h.appDir.path()), QStringList({"Konfigs.ini", "units.ini"}));
    }

    void diskFullWhileApplying() {
        const SmallDisk disk(64);
        REQUIRE_SMALL_DISK(disk);
        Harness h;
        GameFixture g(h, disk.folder());
        writeFile(g.config("Atlas"), QByteArray(200 * 1024, 'x'));
        g.start();
        g.applyWith("Locust", "Atlas");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::DiskFull));
        // The player's new unit fits, the computer's does not: neither replaces its file.
        g.expectGameUntouched();
        QCOMPARE(filesIn(disk.folder() + "/Mechdata"),
                 QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    void leftoverTemporaryFileIsReused() {
        Harness h;
        // As a killed save leaves it: a half-written temporary file beside the settings.
        h.writeAppFile("units.ini", "A\r\n");
        h.writeAppFile("units.ini.kovex-tmp", "half writ");
        h.writeAppFile("units.ini.AbC123", "half writ"); // QSaveFile's, as Windows and FAT keep it
        h.writeAppFile("Konfigs.ini.x1Y2z3", "half writ");
        h.start();
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
        QCOMPARE(filesIn(h.appDir.path()), QStringList({"Konfigs.ini", "units.ini"}));
    }
};

int main(int argc, char* argv[]) {
    // Before Qt starts any thread: a mount namespace is per process only while single-threaded.
    scratch_mounts::enterPrivateNamespace();
    QApplication app(argc, argv);
    FaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
