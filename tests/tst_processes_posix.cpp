// The program in real processes where only Linux can make the fault: its system calls traced
// and failed by strace, and another user than root (setpriv), for whom permissions count.
#include "kill_test_data.h"
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
    static constexpr uid_t kOther = 65533; // a second user

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
    // Files and folders both users may write, as a game installed for every user.
    static void share(const QStringList& paths) {
        for (const QString& path : paths)
            setMode(path, QFileInfo(path).isDir() ? 0777 : 0666);
    }
    Launch launch(const QStringList& args, uid_t user = kNobody) const {
        return {args, asUser(user), driver, {"XDG_RUNTIME_DIR=" + runtime, "HOME=" + runtime}};
    }
    Run run(const QStringList& args, uid_t user = kNobody) const {
        QProcess process;
        start(process, launch(args, user));
        return finish(process);
    }
    static QStringList asUser(uid_t user = kNobody) {
        const QString id = QString::number(user);
        return {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"};
    }

    QTemporaryDir base;
    QString driver;
    QString runtime;
};
// A link at the path to the target, made by the given user.
void link(const QString& target, const QString& path, uid_t owner) {
    QVERIFY(QFile::link(target, path));
    QVERIFY(::lchown(QFile::encodeName(path).constData(), owner, owner) == 0);
}

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

// Every file put in place, renamed onto the target or linked there new, follows a sync of its
// data in that folder and precedes a sync of the folder: a power loss leaves the old or the new
// file, never an empty one.
void expectDurableReplace(const QList<Call>& calls, const QString& target) {
    const QString folder = QFileInfo(target).path();
    int placed = 0;
    for (int i = 0; i < calls.size(); ++i) {
        const Call& c = calls[i];
        if ((!c.name.startsWith("rename") && c.name != "linkat") ||
            c.paths.value(c.paths.size() - 1) != target)
            continue;
        ++placed;
        bool syncedBefore = false;
        for (int j = i - 1; j >= 0 && !syncedBefore && !calls[j].name.startsWith("rename"); --j)
            syncedBefore = isSync(calls[j]) && QFileInfo(calls[j].paths.value(0)).path() == folder;
        QVERIFY2(syncedBefore, qPrintable("not synced before it was put in place: " + target));
        bool folderAfter = false;
        for (int j = i + 1; j < calls.size() && !folderAfter; ++j)
            folderAfter = isSync(calls[j]) && calls[j].paths.value(0) == folder;
        QVERIFY2(folderAfter, qPrintable("folder not synced after the rename: " + target));
    }
    QVERIFY2(placed > 0, qPrintable("never replaced: " + target));
}

const QStringList kTraceRenamesAndSyncs{"-f", "-y", "-qq", "-e",
                                        "trace=fsync,fdatasync,rename,renameat,renameat2,linkat"};

} // namespace

class UsersTest : public QObject {
    Q_OBJECT

private slots:
    // Every file a save or an apply replaces is synced before its rename, and its folder after.
    void everyReplaceIsSyncedBeforeAndAfterTheRename_data() {
        QTest::addColumn<bool>("applying");
        QTest::newRow("a save") << false;
        QTest::newRow("an apply, keeping the originals") << true;
    }
    void everyReplaceIsSyncedBeforeAndAfterTheRename() {
        QFETCH(bool, applying);
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QString log = base.filePath("trace.log");
        const QStringList args =
            applying ? QStringList{"apply", kovex.app, kovex.game, "Atlas", "Locust"}
                     : QStringList{"save", kovex.app};
        const Run run = runDriver(args, strace(kTraceRenamesAndSyncs + QStringList{"-o", log}));
        QCOMPARE(run.reports, QString());
        QCOMPARE(run.exitCode, 0);
        const QList<Call> calls = tracedCalls(log);
        const QStringList replaced =
            applying ? QStringList{kovex.unit("WHM-6K_Warhammer"), kovex.unit("MAD-3R_Marauder"),
                                   keptFolderOf(kovex.game) + "/WHM-6K_Warhammer.txt"}
                     : QStringList{kovex.app + "/Konfigs.ini", kovex.app + "/units.ini"};
        for (const QString& file : replaced)
            expectDurableReplace(calls, file);
        QCOMPARE(readFile(applying ? kovex.unit("MAD-3R_Marauder") : kovex.app + "/units.ini"),
                 applying ? QByteArray("locust\r\n") : QByteArray("Atlas\r\nLocust\r\n"));
    }

    // A system call fails: the permissions a settings file takes over from the old one, or the
    // disk while a configuration is read for its copy. Reported with the cause's number, and
    // every file stays as it was, with nothing left beside it.
    void aFailedSystemCallIsReportedAndChangesNothing_data() {
        QTest::addColumn<bool>("applying");
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QString>("report");
        QTest::newRow("fchmod refused") << false
                                        << QStringList{"-e", "trace=fchmod,fchmodat", "-e",
                                                       "inject=fchmod,fchmodat:error=EPERM"}
                                        << "70: Zugriff verweigert: %1/Konfigs.ini";
        QTest::newRow("a read error")
            << true << QStringList{"-P", "%1/configs/Atlas.txt", "-e", "trace=read",
                                   "-e", "inject=read:error=EIO"}
            << QString::fromUtf8("57: Fehler beim Geräte-E/A: %1/configs/Atlas.txt");
        // The first unit replaced, then the second refused: the first gets its bytes back.
        QTest::newRow("the second unit's rename refused")
            << true << QStringList{"-e", "trace=rename", "-e", "inject=rename:error=EACCES:when=2"}
            << "70: Zugriff verweigert: %2/Mechdata/MAD-3R_Marauder.txt";
    }
    void aFailedSystemCallIsReportedAndChangesNothing() {
        QFETCH(bool, applying);
        QFETCH(QStringList, fault);
        QFETCH(QString, report);
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QStringList before = kovex.files();
        const QStringList args =
            applying ? QStringList{"apply", kovex.app, kovex.game, "Atlas", "Locust"}
                     : QStringList{"save", kovex.app};
        fault.replaceInStrings("%1", kovex.app);
        const Run run =
            runDriver(args, strace(QStringList{"-f", "-qq", "-o", "/dev/null"} + fault));
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports,
                 "report " + QString(report).replace("%2", kovex.game).arg(kovex.app) + "\n");
        kovex.expectUntouched();
        QCOMPARE(readFile(kovex.app + "/units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        QCOMPARE(kovex.files(), before);
        // Nor is an apply that did not happen recorded as KOVEX's.
        QVERIFY(!QFileInfo::exists(keptFolderOf(kovex.game) + "/KOVEX-Verlauf.dat"));
    }

    // Copies that run in other environments still meet at the folders themselves: two users,
    // one of them slowed between its two unit files, applying crosswise to one shared
    // installation; copies of one user with runtime folders of their own; two game folders that
    // reach one Mechdata through a link. Every round ends with one apply's pair, and no copy
    // reports anything.
    void copiesExcludeEachOtherWhoeverRunsThemAndWhereverTheyRun_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("rounds");
        QTest::newRow("two users") << "users" << 20;
        QTest::newRow("other runtime folders") << "runtime" << 8;
        QTest::newRow("one Mechdata through a link") << "linked" << 8;
    }

    void copiesExcludeEachOtherWhoeverRunsThemAndWhereverTheyRun() {
        QFETCH(QString, setting);
        QFETCH(int, rounds);
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", true));
        const CrosswisePair pair(kovex.app);
        world.share(kovex.files() + QStringList{kovex.app, kovex.game, kovex.game + "/Mechdata",
                                                kovex.app + "/configs"});
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
            Launch slowed = world.launch({"apply", kovex.app, kovex.game, one, two, "1"});
            slowed.wrapper = slowedRenames() + slowed.wrapper;
            Launch other = world.launch({"apply", kovex.app, otherGame, two, one, "1"},
                                        setting == "users" ? world.kOther : world.kNobody);
            if (setting == "runtime") {
                slowed.environment << "XDG_RUNTIME_DIR=" + world.folder("run-a", true)
                                   << "TMPDIR=" + world.folder("tmp-a", true);
                other.environment << "XDG_RUNTIME_DIR=" + world.folder("run-b", true)
                                  << "TMPDIR=" + world.folder("tmp-b", true);
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

    // KOVEX unpacked from an old archive into a folder whose name is Latin-1, no UTF-8: it
    // reads and saves the settings beside itself, for root in a folder of root's and for another
    // user in theirs, and creates nothing elsewhere.
    void anApplicationFolderWhoseNameIsNoUtf8() {
        UnprivilegedWorld world;
        const QByteArray folder = QFile::encodeName(world.base.path()) + "/Spiele-\xe4";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        const QString latin1 = world.base.path() + "/latin1";
        // A link to reach it from Qt's side, which cannot name it.
        QVERIFY(::symlink(folder.constData(), QFile::encodeName(latin1).constData()) == 0);
        QVERIFY(QFile::copy(QStringLiteral(KOVEX_DRIVER), latin1 + "/kovex_driver"));
        writeFile(latin1 + "/units.ini", "Atlas\r\nLocust\r\n");
        const bool rootHadKonfigs = QFileInfo::exists("/Konfigs.ini");
        const QString program =
            QStringLiteral("exec \"$(printf '%1/Spiele-\\344')/kovex_driver\" save -")
                .arg(world.base.path());
        for (const bool asRoot : {true, false}) {
            if (!asRoot) {
                world.handOver(latin1);
                world.handOver(latin1 + "/units.ini");
            }
            QProcess process;
            start(process, {{"-c", program}, asRoot ? QStringList() : world.asUser(), "sh", {}});
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
        QTest::addColumn<int>("mode"); // or 0: the file becomes root's; below 0: its folder's mode
        QTest::newRow("a read-only unit") << "game/Mechdata/MAD-3R_Marauder.txt" << 0444;
        QTest::newRow("a writable unit, but root's") << "game/Mechdata/MAD-3R_Marauder.txt" << 0;
        QTest::newRow("a unit the user may not read")
            << "game/Mechdata/WHM-6K_Warhammer.txt" << 0200;
        QTest::newRow("a Mechdata the user may not create files in")
            << "game/Mechdata/WHM-6K_Warhammer.txt" << -0555;
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
        if (mode < 0) // the file's folder
            world.setMode(QFileInfo(path).path(), mode_t(-mode));
        else if (mode)
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
        QVERIFY(!QFileInfo::exists(keptFolderOf(kovex.game)));
    }

    // A file the user may not read is not taken into configs: refused naming it, with nothing
    // of it left; a file the user may read is taken beside it.
    void aFileTheUserMayNotReadIsNotTaken() {
        UnprivilegedWorld world;
        const QString app = world.folder("app", true);
        const QString from = world.folder("from", true);
        writeFile(from + "/Secret.txt", "root's\r\n");
        world.setMode(from + "/Secret.txt", 0600);
        writeFile(from + "/Atlas.txt", "atlas\r\n");
        world.handOver(from + "/Atlas.txt");
        const Run run = world.run({"import", app, from + "/Secret.txt", from + "/Atlas.txt"});
        QCOMPARE(run.reports,
                 QString("report 70: Zugriff verweigert: %1\n").arg(from + "/Secret.txt"));
        QCOMPARE(filesIn(app + "/configs"), QStringList({"Atlas.txt"}));
        QCOMPARE(readFile(app + "/units.ini"), QByteArray("Atlas\r\n"));
    }

    // A folder the user may not write: no settings file can be made there, nor a temporary
    // file beside ones the user may write. The save says so, naming the first file, and changes
    // and leaves nothing.
    void aSaveIntoAFolderTheUserMayNotWriteIsRefused_data() {
        QTest::addColumn<bool>("filesThere");
        QTest::newRow("no settings files yet") << false;
        QTest::newRow("settings files of the user's") << true;
    }
    void aSaveIntoAFolderTheUserMayNotWriteIsRefused() {
        QFETCH(bool, filesThere);
        UnprivilegedWorld world;
        const QString app = world.folder("app", false);
        for (const char* name : {"Konfigs.ini", "units.ini"}) {
            if (!filesThere)
                break;
            writeFile(app + "/" + name, name[0] == 'u' ? "A\r\n" : "");
            world.handOver(app + "/" + name);
        }
        const QStringList before = filesIn(app);
        const Run run = world.run({"save", app});
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.reports.startsWith(
                     QString("report 70: Zugriff verweigert: %1\n").arg(app + "/Konfigs.ini")),
                 qPrintable(run.reports));
        QCOMPARE(filesIn(app), before);
        if (filesThere)
            QCOMPARE(readFile(app + "/units.ini"), QByteArray("A\r\n"));
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

    // A game installed by root, whose units another user may replace: the game folder cannot
    // take the game's own units, and the user is asked first.
    void aGameFolderThatCannotKeepTheOriginalsAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }

    void aGameFolderThatCannotKeepTheOriginalsAsksFirst() {
        QFETCH(bool, yes);
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", false));
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
                                   "nicht im Ordner „%1“ aufbewahrt werden.  Trotzdem "
                                   "zuweisen?\n")
                     .arg(keptFolderOf(kovex.game)));
        if (yes) {
            QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), QByteArray("atlas\r\n"));
            QCOMPARE(readFile(kovex.unit("MAD-3R_Marauder")), QByteArray("locust\r\n"));
        } else {
            kovex.expectUntouched();
        }
        QCOMPARE(QDir(kovex.app + "/configs").entryList(QDir::Files), configsBefore);
        QVERIFY(!QFileInfo::exists(keptFolderOf(kovex.game)));
    }

    // A copy killed while it holds the folders keeps no other user's copy waiting: the locks end
    // with its process, and the other user's save and apply go through at once, without a word.
    void aCopyKilledWhileHoldingTheFoldersKeepsNoOtherUserWaiting() {
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", true));
        world.share(kovex.files() + QStringList{kovex.app, kovex.game, kovex.game + "/Mechdata",
                                                kovex.app + "/configs"});
        QProcess holder;
        start(holder, world.launch({"hold", kovex.app, kovex.game}));
        QString said;
        QTRY_VERIFY_WITH_TIMEOUT((said += holder.readAllStandardOutput()).contains("held"), 20000);
        holder.kill();
        QVERIFY(holder.waitForFinished());
        for (const QStringList& args :
             {QStringList{"--answer-yes", "save", kovex.app, "1", "B"},
              QStringList{"apply", kovex.app, kovex.game, "Locust", "Atlas", "1"}}) {
            const Run run = world.run(args, world.kOther);
            QCOMPARE(run.reports + run.questions, QString());
            QCOMPARE(run.exitCode, 0);
        }
        QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), QByteArray("locust\r\n"));
        QCOMPARE(readFile(kovex.app + "/units.ini"), crlfLines(kill_test::names('B')));
    }

    // Started as root, KOVEX writes nowhere another user could change, and names the folder: a
    // user's folder on the way, or one that others may write without its sticky bit. A folder
    // of root's in a sticky one, as in /tmp, is root's alone.
    void rootWritesNowhereAnotherUserCouldChange_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("refused"); // the folder named, or "" where it is written
        QTest::newRow("a save into a user's application folder") << "user's app"
                                                                 << "app";
        QTest::newRow("a save into a folder others may write") << "open app"
                                                               << "app";
        QTest::newRow("a save into root's folder in a sticky one") << "sticky"
                                                                   << "";
        QTest::newRow("an apply to a user's game folder") << "user's game"
                                                          << "game";
    }
    void rootWritesNowhereAnotherUserCouldChange() {
        QFETCH(QString, place);
        QFETCH(QString, refused);
        UnprivilegedWorld world;
        const QString shared = world.folder("shared", false);
        if (place == "sticky")
            world.setMode(shared, 01777);
        const Installation kovex(shared + "/app", world.folder("game", place == "user's game"));
        if (place == "user's app")
            world.handOver(kovex.app);
        if (place == "open app")
            world.setMode(kovex.app, 0777);
        const QStringList args =
            place == "user's game" ? QStringList{"apply", kovex.app, kovex.game, "Atlas", "Locust"}
                                   : QStringList{"save", kovex.app, "1", "A"};
        const Run run = runDriver(args, {}, world.driver);
        if (refused.isEmpty()) {
            QCOMPARE(run.reports, QString());
            QCOMPARE(readFile(kovex.app + "/units.ini"), crlfLines(kill_test::names('A')));
            return;
        }
        const QString folder = refused == "app" ? kovex.app : kovex.game;
        QCOMPARE(run.reports, QString::fromUtf8("report 70: Zugriff verweigert: %1 (kann von "
                                                "einem anderen Benutzer geändert werden)\n")
                                  .arg(folder));
        kovex.expectUntouched();
        QCOMPARE(readFile(kovex.app + "/units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        QVERIFY(!QFileInfo::exists(keptFolderOf(kovex.game)));
    }

    // units.ini reached through links as the user saves: followed where the user or root made
    // each link on the way, refused naming the first that another user made, and the file the
    // links lead to untouched.
    void aSettingsFileThroughLinks_data() {
        QTest::addColumn<QString>("chain");   // who made each link from units.ini on; "folder,":
                                              // the application folder reached through a link
        QTest::addColumn<QString>("refused"); // the link named, or "" where it is followed
        QTest::newRow("the user's own link") << "user"
                                             << "";
        QTest::newRow("the user's own links, one to the other") << "user,user"
                                                                << "";
        QTest::newRow("root's link") << "root"
                                     << "";
        QTest::newRow("another user's link") << "other"
                                             << "app/units.ini";
        QTest::newRow("the user's link to another user's link") << "user,other"
                                                                << "app/hop1";
        QTest::newRow("a folder on the way linked by root") << "folder,root"
                                                            << "";
        QTest::newRow("a folder on the way linked by another user") << "folder,other"
                                                                    << "linked";
    }
    void aSettingsFileThroughLinks() {
        QFETCH(QString, chain);
        QFETCH(QString, refused);
        UnprivilegedWorld world;
        const QString app = world.folder("app", true);
        QString target = world.folder("real", true) + "/units.ini";
        writeFile(target, "target\r\n");
        world.handOver(target);
        const auto owner = [](const QString& who) {
            return who == "user"    ? UnprivilegedWorld::kNobody
                   : who == "other" ? UnprivilegedWorld::kOther
                                    : uid_t(0);
        };
        QString given = app; // the application folder as the program is started on it
        const QStringList owners = chain.split(',');
        if (owners.first() == "folder") {
            given = world.base.filePath("linked");
            link(app, given, owner(owners.last()));
            QVERIFY(QFile::rename(target, app + "/units.ini"));
            target = app + "/units.ini";
        } else {
            QString next = target;
            for (qsizetype i = owners.size() - 1; i >= 0; --i) {
                const QString at = i ? app + QString("/hop%1").arg(i) : app + "/units.ini";
                link(next, at, owner(owners[i]));
                next = at;
            }
        }
        const Run run = world.run({"save", given, "1", "A"});
        if (refused.isEmpty()) {
            QCOMPARE(run.reports, QString());
            QCOMPARE(readFile(target), crlfLines(kill_test::names('A')));
        } else {
            QVERIFY2(run.reports.startsWith(
                         QString::fromUtf8("report 70: Zugriff verweigert: %1 (Verknüpfung eines "
                                           "anderen Benutzers)\n")
                             .arg(world.base.filePath(refused))),
                     qPrintable(run.reports));
            QCOMPARE(readFile(target), QByteArray("target\r\n"));
        }
    }

    // A settings file the user may not read: reported at the start, and a save then writes over
    // neither file, since what they hold is not in the lists.
    void aSettingsFileTheUserMayNotReadIsNotSavedOver_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Konfigs.ini") << "Konfigs.ini";
        QTest::newRow("units.ini") << "units.ini";
    }
    void aSettingsFileTheUserMayNotReadIsNotSavedOver() {
        QFETCH(QString, name);
        UnprivilegedWorld world;
        const QString app = world.folder("app", true);
        writeFile(app + "/Konfigs.ini", "");
        writeFile(app + "/units.ini", "A\r\n");
        world.handOver(app + "/Konfigs.ini");
        world.handOver(app + "/units.ini");
        world.setMode(app + "/" + name, 0200);
        const Run run = world.run({"save", app, "1", "B"});
        QCOMPARE(run.reports, QString("report 70: Zugriff verweigert: %1\nreport 75: Fehler beim "
                                      "Zugriff auf Pfad/Datei: %1 (beim Laden nicht gelesen, "
                                      "bleibt unverändert)\n")
                                  .arg(app + "/" + name));
        QCOMPARE(readFile(app + "/units.ini"), QByteArray("A\r\n"));
        QCOMPARE(readFile(app + "/Konfigs.ini"), QByteArray());
    }
};

QTEST_GUILESS_MAIN(UsersTest)
#include "tst_processes_posix.moc"
