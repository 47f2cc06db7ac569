// The program in real processes where only Linux can make the fault: its system calls traced
// and failed by strace, and another user than root (setpriv), for whom permissions count.
#include "process_support.h"
#include "test_files.h"
#include "test_platform.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList strace(const QStringList& options) {
    return QStringList{"strace"} + options + QStringList{"--"};
}

// Every rename the traced copy makes takes 600 ms longer: a slow disk between the two unit
// files of an apply.
QStringList slowedRenames() {
    return strace({"-f", "-qq", "-o", "/dev/null", "-e", "trace=rename,renameat,renameat2", "-e",
                   "inject=rename,renameat,renameat2:delay_exit=600000"});
}

// Folders for a user that is not root, who meets permissions as players do. They lie in
// /var/tmp, which every user may enter (this machine's /tmp is root's alone), and the driver is
// copied in, since the build folder may lie where that user cannot go. The user gets a runtime
// folder of their own, as a desktop session gives one.
class UnprivilegedWorld {
public:
    static constexpr uid_t kNobody = 65534;

    UnprivilegedWorld() : base(QStringLiteral("/var/tmp/kovex-test-XXXXXX")) {
        ::chmod(QFile::encodeName(base.path()).constData(), 0755);
        driver = base.filePath("kovex_driver");
        QFile::copy(QStringLiteral(KOVEX_DRIVER), driver);
        runtime = folder("runtime", true);
        setMode(runtime, 0700);
    }
    // A folder made by root, or handed to the user.
    QString folder(const QString& name, bool handedOver) const {
        const QString path = base.filePath(name);
        QDir().mkpath(path);
        ::chmod(QFile::encodeName(path).constData(), 0755);
        if (handedOver)
            handOver(path);
        return path;
    }
    static void handOver(const QString& path) {
        QVERIFY(::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0);
    }
    static void setMode(const QString& path, mode_t mode) {
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
    }
    Launch launch(const QStringList& args) const { return {args, asTheUser(), driver, {}}; }
    Run run(const QStringList& args) const {
        QProcess process;
        start(process, launch(args));
        return finish(process);
    }
    QStringList asTheUser() const {
        return {"setpriv",
                "--reuid=65534",
                "--regid=65534",
                "--clear-groups",
                "--",
                "env",
                "XDG_RUNTIME_DIR=" + runtime,
                "HOME=" + runtime};
    }

    QTemporaryDir base;
    QString driver;
    QString runtime;
};
// One traced call: its name and the paths it names (for an fd, the file behind it).
struct Call {
    QString name;
    QStringList paths;
};

QList<Call> tracedCalls(const QString& logPath) {
    static const QRegularExpression callLine(QStringLiteral("^(?:\\d+ +)?(\\w+)\\((.*)\\) += 0$"));
    // A name relative to a folder's descriptor ("3</dir>, \"name\"") is the path in that folder.
    static const QRegularExpression pathArg(
        QStringLiteral("<([^>]*)>, \"([^/\"][^\"]*)\"|<([^>]*)>|\"([^\"]*)\""));
    QList<Call> calls;
    for (const QString& line : QString::fromUtf8(readFile(logPath)).split('\n')) {
        const QRegularExpressionMatch m = callLine.match(line);
        if (!m.hasMatch())
            continue;
        Call call{m.captured(1), {}};
        for (auto it = pathArg.globalMatch(m.captured(2)); it.hasNext();) {
            const QRegularExpressionMatch p = it.next();
            call.paths << (p.hasCaptured(2) ? p.captured(1) + '/' + p.captured(2)
                                            : p.captured(3) + p.captured(4));
        }
        calls << call;
    }
    return calls;
}

bool isSync(const Call& c) {
    return c.name == "fsync" || c.name == "fdatasync";
}

// Every rename onto the target follows a sync of the file renamed and precedes a sync of
// the folder: a power loss leaves the old or the new file, never an empty one.
void expectDurableReplace(const QList<Call>& calls, const QString& target) {
    int renames = 0;
    for (int i = 0; i < calls.size(); ++i) {
        const Call& c = calls[i];
        if (!c.name.startsWith("rename") || c.paths.value(1) != target)
            continue;
        ++renames;
        const QString temp = c.paths.value(0);
        bool syncedBefore = false;
        for (int j = i - 1; j >= 0 && !syncedBefore; --j)
            syncedBefore = isSync(calls[j]) && calls[j].paths.value(0) == temp;
        QVERIFY2(syncedBefore, qPrintable("not synced before its rename: " + target));
        bool folderAfter = false;
        for (int j = i + 1; j < calls.size() && !folderAfter; ++j)
            folderAfter = isSync(calls[j]) && calls[j].paths.value(0) == QFileInfo(target).path();
        QVERIFY2(folderAfter, qPrintable("folder not synced after the rename: " + target));
    }
    QVERIFY2(renames > 0, qPrintable("never replaced: " + target));
}

const QStringList kTraceRenamesAndSyncs{"-f", "-y", "-qq", "-e",
                                        "trace=fsync,fdatasync,rename,renameat,renameat2"};

} // namespace

class UsersTest : public QObject {
    Q_OBJECT

private slots:
    void savesAreSyncedBeforeAndAfterTheRename() {
        QTemporaryDir app;
        writeFile(app.filePath("units.ini"), "A\r\nB\r\n");
        const QString log = app.filePath("trace.log");
        const Run run =
            runDriver({"save", app.path()}, strace(kTraceRenamesAndSyncs + QStringList{"-o", log}));
        QCOMPARE(run.reports, QString());
        QCOMPARE(run.exitCode, 0);
        const QList<Call> calls = tracedCalls(log);
        expectDurableReplace(calls, app.filePath("Konfigs.ini"));
        expectDurableReplace(calls, app.filePath("units.ini"));
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("A\r\nB\r\n"));
    }

    void unitFilesAreSyncedBeforeAndAfterTheRename() {
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QString log = base.filePath("trace.log");
        const Run run = runDriver({"apply", kovex.app, kovex.game, "Atlas", "Locust"},
                                  strace(kTraceRenamesAndSyncs + QStringList{"-o", log}));
        QCOMPARE(run.reports, QString());
        const QList<Call> calls = tracedCalls(log);
        expectDurableReplace(calls, kovex.unit("WHM-6K_Warhammer"));
        expectDurableReplace(calls, kovex.unit("MAD-3R_Marauder"));
        expectDurableReplace(calls, keptFolderIn(kovex.app) + "/WHM-6K_Warhammer.txt");
        QCOMPARE(readFile(kovex.unit("MAD-3R_Marauder")), QByteArray("locust\r\n"));
    }

    void aRefusedPermissionChangeIsReportedAndChangesNothing() {
        QTemporaryDir app;
        writeFile(app.filePath("units.ini"), "A\r\n");
        writeFile(app.filePath("Konfigs.ini"), "");
        // Each settings file gets the old file's permissions; the system refuses that here.
        const Run run =
            runDriver({"save", app.path()},
                      strace({"-f", "-qq", "-o", "/dev/null", "-e", "trace=fchmod,fchmodat", "-e",
                              "inject=fchmod,fchmodat:error=EPERM"}));
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports, QString::fromUtf8("report 70: Zugriff verweigert: %1\n")
                                  .arg(app.filePath("Konfigs.ini")));
        QCOMPARE(readFile(app.filePath("Konfigs.ini")), QByteArray());
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("A\r\n"));
        QCOMPARE(QDir(app.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Konfigs.ini", "units.ini"}));
    }

    // The disk fails while a configuration is read for its copy: reported as a device error,
    // and the unit that was to take it keeps what it had.
    void aReadErrorWhileCopyingAConfigurationChangesNothing() {
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QString config = kovex.app + "/configs/Atlas.txt";
        const Run run = runDriver({"apply", kovex.app, kovex.game, "Atlas", "Locust"},
                                  strace({"-f", "-qq", "-o", "/dev/null", "-P", config, "-e",
                                          "trace=read", "-e", "inject=read:error=EIO"}));
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports,
                 QString::fromUtf8("report 57: Fehler beim Geräte-E/A: %1\n").arg(config));
        QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(QDir(kovex.game + "/Mechdata").entryList(QDir::Files | QDir::Hidden),
                 QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    // Copies that run in other environments still meet at the folders themselves: root and
    // another user, one of them slowed between its two unit files, applying crosswise to one
    // shared installation; copies of one user with runtime folders of their own; two game
    // folders that reach one Mechdata through a link. Every round ends with one apply's pair,
    // and no copy reports anything.
    void copiesExcludeEachOtherWhoeverRunsThemAndWhereverTheyRun_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("rounds");
        QTest::newRow("root and another user") << "users" << 20;
        QTest::newRow("other runtime folders") << "runtime" << 8;
        QTest::newRow("one Mechdata through a link") << "linked" << 8;
    }

    void copiesExcludeEachOtherWhoeverRunsThemAndWhereverTheyRun() {
        QFETCH(QString, setting);
        QFETCH(int, rounds);
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", true));
        const CrosswisePair pair(kovex.app);
        for (const QString& path :
             kovex.files() + QStringList{kovex.game + "/Mechdata", kovex.app + "/configs"})
            world.handOver(path);
        QString otherGame = kovex.game;
        if (setting == "linked") {
            otherGame = world.folder("game-link", true);
            QVERIFY(QFile::link(kovex.game + "/Mechdata", otherGame + "/Mechdata"));
        }
        const QString player = kovex.unit("WHM-6K_Warhammer");
        for (int round = 0; round < rounds; ++round) {
            // The slowed copy takes its time after each file it replaces, as on a slow disk; the
            // other copy starts once the slowed one has replaced its first unit file.
            const QString one = round % 2 ? "Beta" : "Alpha";
            const QString two = round % 2 ? "Alpha" : "Beta";
            Launch slowed{{"apply", kovex.app, kovex.game, one, two, "1"}, slowedRenames()};
            Launch other{{"apply", kovex.app, otherGame, two, one, "1"}};
            if (setting == "users") {
                other = world.launch(other.args);
            } else if (setting == "runtime") {
                slowed.environment << "XDG_RUNTIME_DIR=" + world.folder("run-a", false)
                                   << "TMPDIR=" + world.folder("tmp-a", false);
                other.environment << "XDG_RUNTIME_DIR=" + world.folder("run-b", false)
                                  << "TMPDIR=" + world.folder("tmp-b", false);
            }
            const quint64 before = test_platform::fileIdOf(player);
            QProcess first;
            start(first, slowed);
            QElapsedTimer waited;
            waited.start();
            while (test_platform::fileIdOf(player) == before && waited.elapsed() < 20000)
                QThread::msleep(2);
            QProcess second;
            start(second, other);
            const Run runs[2] = {finish(first), finish(second)};
            for (const Run& run : runs)
                QVERIFY2(run.exitCode == 0 && run.reports.isEmpty(),
                         qPrintable(QString("round %1: %2").arg(round).arg(run.reports)));
            const QString wrong = pair.wrongIn(kovex.game);
            QVERIFY2(wrong.isEmpty(), qPrintable(QString("round %1: %2").arg(round).arg(wrong)));
            // The other copy went last.
            QCOMPARE(readFile(player), two == "Alpha" ? pair.alpha : pair.beta);
            QCOMPARE(QDir(kovex.game + "/Mechdata").entryList(QDir::Files | QDir::Hidden),
                     QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
        }
        // Nothing of the locks is left anywhere.
        for (const QString& folder : {world.runtime, QDir::tempPath(), kovex.app, kovex.game})
            QCOMPARE(QDir(folder).entryList({"*.lock", "*kovex*lock*"}, QDir::AllEntries),
                     QStringList());
    }

    // Another user plants a link in a Mechdata they may write, to a file only root may read;
    // root applies. The link is refused before anything changes: its target stays as it was,
    // and no copy of it appears anywhere.
    void aLinkPlantedByAnotherUserIsRefused() {
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", false), world.folder("game", false));
        world.setMode(kovex.game + "/Mechdata", 01777);
        const QString secret = world.folder("root-only", false) + "/secret";
        writeFile(secret, "root's secret\r\n");
        world.setMode(secret, 0600);
        const QString unit = kovex.unit("WHM-6K_Warhammer");
        QVERIFY(QFile::remove(unit));
        QProcess plant;
        plant.start(world.asTheUser().first(),
                    world.asTheUser().mid(1) + QStringList{"ln", "-s", secret, unit});
        QVERIFY(plant.waitForFinished() && plant.exitCode() == 0);

        const Run run = runDriver({"apply", kovex.app, kovex.game, "Atlas", "Locust"});
        QCOMPARE(run.reports, QString::fromUtf8("report 70: Zugriff verweigert: %1 (Verknüpfung "
                                                "eines anderen Benutzers)\n")
                                  .arg(unit));
        QCOMPARE(readFile(secret), QByteArray("root's secret\r\n"));
        QVERIFY(QFileInfo(unit).isSymLink());
        QCOMPARE(readFile(kovex.unit("MAD-3R_Marauder")), kOriginalMarauder);
        QVERIFY(!QFileInfo::exists(kovex.app + "/configs/Originale"));
        QCOMPARE(QDir(kovex.app + "/configs").entryList(QDir::Files),
                 QStringList({"Atlas.txt", "Locust.txt"}));
        // A link the user made, in a folder of the user's, works as ever.
        QVERIFY(QFile::remove(unit));
        QVERIFY(QFile::link(kovex.app + "/configs/Locust.txt", unit));
        QCOMPARE(runDriver({"apply", kovex.app, kovex.game, "Atlas", "Locust"}).reports, QString());
        QCOMPARE(readFile(kovex.app + "/configs/Locust.txt"), QByteArray("atlas\r\n"));
    }

    // The settings files cannot be made for want of permission: the start says so with 70,
    // naming the file, and creates nothing.
    void settingsFilesTheUserMayNotCreate() {
        UnprivilegedWorld world;
        const QString app = world.folder("app", false);
        const Run run = world.run({"save", app});
        QVERIFY2(run.reports.startsWith(
                     QString("report 70: Zugriff verweigert: %1\n").arg(app + "/Konfigs.ini")),
                 qPrintable(run.reports));
        QCOMPARE(QDir(app).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // KOVEX unpacked from an old archive into a folder whose name is Latin-1, no UTF-8: it
    // reads and saves the settings beside itself, for root and for another user, and creates
    // nothing elsewhere.
    void anApplicationFolderWhoseNameIsNoUtf8() {
        UnprivilegedWorld world;
        const QByteArray folder = QFile::encodeName(world.base.path()) + "/Spiele-\xe4";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        QVERIFY(::chown(folder.constData(), UnprivilegedWorld::kNobody,
                        UnprivilegedWorld::kNobody) == 0);
        const QString latin1 = world.base.path() + "/latin1";
        // A link to reach it from Qt's side, which cannot name it.
        QVERIFY(::symlink(folder.constData(), QFile::encodeName(latin1).constData()) == 0);
        QVERIFY(QFile::copy(QStringLiteral(KOVEX_DRIVER), latin1 + "/kovex_driver"));
        writeFile(latin1 + "/units.ini", "Atlas\r\nLocust\r\n");
        world.handOver(latin1 + "/units.ini");
        world.handOver(latin1 + "/kovex_driver");
        const bool rootHadKonfigs = QFileInfo::exists("/Konfigs.ini");
        const QString program =
            QStringLiteral("exec \"$(printf '%1/Spiele-\\344')/kovex_driver\" save -")
                .arg(world.base.path());
        for (const bool asRoot : {true, false}) {
            QProcess process;
            start(process, {{"-c", program}, asRoot ? QStringList() : world.asTheUser(), "sh", {}});
            const Run run = finish(process);
            QVERIFY2(run.exitCode == 0 && run.reports.isEmpty(), qPrintable(run.reports));
            QCOMPARE(readFile(latin1 + "/units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
            QVERIFY(readFile(latin1 + "/Konfigs.ini").endsWith("/configs\r\n"));
            QFile::remove(latin1 + "/Konfigs.ini");
        }
        QCOMPARE(QFileInfo::exists("/Konfigs.ini"), rootHadKonfigs);
        QVERIFY(!QFileInfo::exists("/units.ini"));
        // Qt cannot name the folder to remove it.
        for (const QString& entry : QDir(latin1).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            QFile::remove(latin1 + "/" + entry);
        QVERIFY(::rmdir(folder.constData()) == 0);
    }

    // Root may read and write every file; another user may not, and then nothing may change
    // for them: no question, no unit replaced, no original kept. Each row refuses one file.
    void whatTheUserMayNotTouchIsRefusedBeforeAnythingChanges_data() {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<int>("mode"); // or 0: the file becomes root's
        QTest::newRow("a read-only unit") << "game/Mechdata/MAD-3R_Marauder.txt" << 0444;
        QTest::newRow("a writable unit, but root's") << "game/Mechdata/MAD-3R_Marauder.txt" << 0;
        QTest::newRow("a unit the user may not read")
            << "game/Mechdata/WHM-6K_Warhammer.txt" << 0200;
        QTest::newRow("a Mechdata the user may not create files in") << "game/Mechdata" << 0555;
        QTest::newRow("the computer's configuration unreadable")
            << "app/configs/Locust.txt" << 0200;
    }
    void whatTheUserMayNotTouchIsRefusedBeforeAnythingChanges() {
        QFETCH(QString, refused);
        QFETCH(int, mode);
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", true));
        for (const QString& path :
             kovex.files() + QStringList{kovex.game + "/Mechdata", kovex.app + "/configs"})
            world.handOver(path);
        const QString path = world.base.filePath(refused);
        if (mode)
            world.setMode(path, mode_t(mode));
        else
            QVERIFY(::chown(QFile::encodeName(path).constData(), 0, 0) == 0);
        const QStringList before = kovex.files();

        const Run run = world.run({"apply", kovex.app, kovex.game, "Atlas", "Locust"});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports + run.questions,
                 QString("report 70: Zugriff verweigert: %1\n").arg(path));
        kovex.expectUntouched();
        QCOMPARE(kovex.files(), before); // no originals kept, no temporary files
        QVERIFY(!QFileInfo::exists(kovex.app + "/configs/Originale"));
    }

    // Settings files the user may write, in a folder the user may not: no temporary file can
    // go beside them, and the save says so, naming the first file, and changes neither.
    void aSaveIntoAFolderTheUserMayNotWriteIsRefused() {
        UnprivilegedWorld world;
        const QString app = world.folder("app", false);
        writeFile(app + "/Konfigs.ini", "");
        writeFile(app + "/units.ini", "A\r\n");
        world.handOver(app + "/Konfigs.ini");
        world.handOver(app + "/units.ini");
        const Run run = world.run({"save", app});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports,
                 QString("report 70: Zugriff verweigert: %1\n").arg(app + "/Konfigs.ini"));
        QCOMPARE(readFile(app + "/Konfigs.ini"), QByteArray());
        QCOMPARE(readFile(app + "/units.ini"), QByteArray("A\r\n"));
        QCOMPARE(QDir(app).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Konfigs.ini", "units.ini"}));
    }

    void readOnlyLeftoversOfAKilledRunDoNotBlock() {
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", true));
        world.handOver(kovex.game + "/Mechdata");
        world.handOver(kovex.app + "/configs");
        // As a run killed while replacing read-only files leaves them: read-only temporaries.
        const QStringList leftovers{kovex.app + "/units.ini.kovex-tmp",
                                    kovex.app + "/units.ini.kovex-tmp.k1ll3d",
                                    kovex.unit("WHM-6K_Warhammer") + ".kovex-tmp.k1ll3d"};
        for (const QString& leftover : leftovers)
            writeFile(leftover, "half writ");
        for (const QString& path : kovex.files()) {
            world.handOver(path);
            world.setMode(path, 0444);
        }
        world.setMode(kovex.unit("WHM-6K_Warhammer"), 0644);
        world.setMode(kovex.unit("MAD-3R_Marauder"), 0644);

        Run run = world.run({"save", kovex.app});
        QCOMPARE(run.reports, QString());
        QCOMPARE(readFile(kovex.app + "/units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        run = world.run({"apply", kovex.app, kovex.game, "Atlas", "Locust"});
        QCOMPARE(run.reports + run.questions, QString());
        QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), QByteArray("atlas\r\n"));
        for (const QString& leftover : leftovers)
            QVERIFY2(!QFileInfo::exists(leftover), qPrintable(leftover));
        // The settings file stays read-only, as the user left it.
        QCOMPARE(QFileInfo(kovex.app + "/units.ini").permissions() & QFile::WriteOwner,
                 QFileDevice::Permissions());
    }

    // Installed by root, used by another user: configs cannot take the game's own units.
    void configsThatCannotKeepTheOriginalsAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }

    void configsThatCannotKeepTheOriginalsAsksFirst() {
        QFETCH(bool, yes);
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", false), world.folder("game", true));
        world.handOver(kovex.game + "/Mechdata");
        world.handOver(kovex.unit("WHM-6K_Warhammer"));
        world.handOver(kovex.unit("MAD-3R_Marauder"));
        const QStringList configsBefore = QDir(kovex.app + "/configs").entryList(QDir::Files);

        QStringList args{"apply", kovex.app, kovex.game, "Atlas", "Locust"};
        if (yes)
            args.prepend("--answer-yes");
        const Run run = world.run(args);
        QCOMPARE(run.reports, QString());
        QCOMPARE(run.questions,
                 QString::fromUtf8("question: Die eigenen Einheitendateien des Spiels können "
                                   "nicht im Ordner „%1/configs“ aufbewahrt werden.  Trotzdem "
                                   "zuweisen?\n")
                     .arg(kovex.app));
        if (yes) {
            QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), QByteArray("atlas\r\n"));
            QCOMPARE(readFile(kovex.unit("MAD-3R_Marauder")), QByteArray("locust\r\n"));
        } else {
            kovex.expectUntouched();
        }
        QCOMPARE(QDir(kovex.app + "/configs").entryList(QDir::Files), configsBefore);
    }
};

QTEST_GUILESS_MAIN(UsersTest)
#include "tst_processes_posix.moc"
