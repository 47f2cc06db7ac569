// The program in real processes: its system calls traced and faults injected into them by
// strace, two copies racing, and another user than root, for whom permissions count.
#include "kill_test_data.h"
#include "test_support.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

#ifdef Q_OS_WIN
constexpr const char* kNeedsStrace =
    "Linux only: strace, which traces and fails Linux system calls";
constexpr const char* kNeedsSetpriv = "Linux only: setpriv and Unix owners and modes; Windows "
                                      "read-only attributes are tested in tst_windows";
#endif

struct Run {
    int exitCode = -1;
    QString reports;   // what the program reported, one line each
    QString questions; // what it asked
};

Run finish(QProcess& process) {
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n')) {
        if (line.startsWith("report "))
            run.reports += line + '\n';
        if (line.startsWith("question: "))
            run.questions += line + '\n';
    }
    return run;
}

// Runs the driver with the arguments, under a wrapper command (strace, setpriv) when given.
Run runDriver(const QStringList& args, const QStringList& wrapper = {},
              const QString& driver = QStringLiteral(KOVEX_DRIVER)) {
    QProcess process;
    QProcessEnvironment env = offscreenEnvironment();
    // LeakSanitizer cannot work under ptrace; the sanitizer build's other checks still do.
    if (wrapper.value(0) == "strace")
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
    process.setProcessEnvironment(env);
    if (wrapper.isEmpty())
        process.start(driver, args);
    else
        process.start(wrapper.first(), wrapper.mid(1) + QStringList{driver} + args);
    return finish(process);
}

QStringList strace(const QStringList& options) {
    return QStringList{"strace"} + options + QStringList{"--"};
}

// Two copies started at once, released together once both are up.
QList<Run> race(const QStringList& first, const QStringList& second) {
    QProcess copies[2];
    const QStringList args[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        copies[i].setProcessEnvironment(offscreenEnvironment());
        copies[i].start(QStringLiteral(KOVEX_DRIVER), QStringList{"--wait-for-go"} + args[i]);
    }
    for (QProcess& copy : copies)
        while (!copy.canReadLine() && copy.waitForReadyRead(20000)) {
        }
    for (QProcess& copy : copies)
        copy.write("go\n");
    return {finish(copies[0]), finish(copies[1])};
}

#ifndef Q_OS_WIN
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
    Run run(const QStringList& args) const {
        return runDriver(args,
                         {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--",
                          "env", "XDG_RUNTIME_DIR=" + runtime, "HOME=" + runtime},
                         driver);
    }

    QTemporaryDir base;
    QString driver;
    QString runtime;
};
#endif

// A game folder with the fixture's units and an application folder with two configurations.
struct Installation {
    Installation(const QString& appFolder, const QString& gameFolder)
        : app(appFolder), game(gameFolder) {
        QDir().mkpath(game + "/Mechdata");
        QDir().mkpath(app + "/configs");
        writeFile(unit("WHM-6K_Warhammer"), kOriginalWarhammer);
        writeFile(unit("MAD-3R_Marauder"), kOriginalMarauder);
        writeFile(app + "/configs/Atlas.txt", "atlas\r\n");
        writeFile(app + "/configs/Locust.txt", "locust\r\n");
        writeFile(app + "/Konfigs.ini", "");
        writeFile(app + "/units.ini", "Atlas\r\nLocust\r\n");
    }
    QString unit(const QString& name) const { return game + "/Mechdata/" + name + ".txt"; }
    QStringList files() const {
        QStringList all;
        for (const QString& folder : {app, app + "/configs", game + "/Mechdata"})
            for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                all << QDir(folder).filePath(entry);
        return all;
    }
    void expectUntouched() const {
        QCOMPARE(readFile(unit("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(unit("MAD-3R_Marauder")), kOriginalMarauder);
    }

    QString app;
    QString game;
};

// One traced call: its name and the paths it names (for an fd, the file behind it).
struct Call {
    QString name;
    QStringList paths;
};

QList<Call> tracedCalls(const QString& logPath) {
    static const QRegularExpression callLine(QStringLiteral("^(?:\\d+ +)?(\\w+)\\((.*)\\) += 0$"));
    static const QRegularExpression pathArg(QStringLiteral("<([^>]*)>|\"([^\"]*)\""));
    QList<Call> calls;
    for (const QString& line : QString::fromUtf8(readFile(logPath)).split('\n')) {
        const QRegularExpressionMatch m = callLine.match(line);
        if (!m.hasMatch())
            continue;
        Call call{m.captured(1), {}};
        for (auto it = pathArg.globalMatch(m.captured(2)); it.hasNext();) {
            const QRegularExpressionMatch p = it.next();
            call.paths << (p.captured(1).isEmpty() ? p.captured(2) : p.captured(1));
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

class ProcessesTest : public QObject {
    Q_OBJECT

private slots:
    void savesAreSyncedBeforeAndAfterTheRename() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsStrace);
#else
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
#endif
    }

    void unitFilesAreSyncedBeforeAndAfterTheRename() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsStrace);
#else
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
#endif
    }

    void aRefusedPermissionChangeIsReportedAndChangesNothing() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsStrace);
#else
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
#endif
    }

    // The disk fails while a configuration is read for its copy: reported as a device error,
    // and the unit that was to take it keeps what it had.
    void aReadErrorWhileCopyingAConfigurationChangesNothing() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsStrace);
#else
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
#endif
    }

    void twoCopiesSavingAtOnceLeaveOneWholeList() {
        QTemporaryDir app;
        writeFile(app.filePath("units.ini"), "start\r\n");
        const QSet<QByteArray> whole{crlfLines(kill_test::names('A')),
                                     crlfLines(kill_test::names('B'))};
        for (int round = 0; round < 8; ++round) {
            const QList<Run> runs =
                race({"save", app.path(), "4", "A"}, {"save", app.path(), "4", "B"});
            for (const Run& run : runs) {
                QCOMPARE(run.reports, QString());
                QCOMPARE(run.exitCode, 0);
            }
            QVERIFY2(whole.contains(readFile(app.filePath("units.ini"))),
                     qPrintable(QString("round %1: units.ini torn").arg(round)));
            QCOMPARE(QDir(app.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList({"Konfigs.ini", "units.ini"}));
        }
    }

    void twoCopiesApplyingAtOnceLeaveBothUnitsFromOneApply() {
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QByteArray alpha = kill_test::unitBytes('a', 6);
        const QByteArray beta = kill_test::unitBytes('b', 6);
        writeFile(kovex.app + "/configs/Alpha.txt", alpha);
        writeFile(kovex.app + "/configs/Beta.txt", beta);
        for (int round = 0; round < 8; ++round) {
            const QList<Run> runs = race({"apply", kovex.app, kovex.game, "Alpha", "Beta", "3"},
                                         {"apply", kovex.app, kovex.game, "Beta", "Alpha", "3"});
            for (const Run& run : runs) {
                QCOMPARE(run.reports, QString());
                QCOMPARE(run.exitCode, 0);
            }
            const QByteArray player = readFile(kovex.unit("WHM-6K_Warhammer"));
            const QByteArray computer = readFile(kovex.unit("MAD-3R_Marauder"));
            QVERIFY2((player == alpha && computer == beta) || (player == beta && computer == alpha),
                     qPrintable(QString("round %1: the units come from two applies").arg(round)));
            QCOMPARE(QDir(kovex.game + "/Mechdata").entryList(QDir::Files | QDir::Hidden),
                     QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
        }
        // The game's own units were kept once, whole.
        QCOMPARE(readFile(keptFolderIn(kovex.app) + "/WHM-6K_Warhammer.txt"), kOriginalWarhammer);
        QCOMPARE(QDir(keptFolderIn(kovex.app)).entryList(QDir::Files),
                 QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    // Root may read and write every file; another user may not, and nothing may change for
    // them.
    void aUnitFileTheUserMayNotWriteIsRefusedBeforeAnythingChanges_data() {
        QTest::addColumn<QString>("refusal");
        QTest::newRow("read-only, the user's own") << "read-only unit";
        QTest::newRow("writable, but root's") << "root's unit";
        QTest::newRow("the computer's configuration unreadable") << "unreadable configuration";
    }
    void aUnitFileTheUserMayNotWriteIsRefusedBeforeAnythingChanges() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsSetpriv);
#else
        QFETCH(QString, refusal);
        UnprivilegedWorld world;
        const Installation kovex(world.folder("app", true), world.folder("game", true));
        world.handOver(kovex.game + "/Mechdata");
        for (const QString& path : kovex.files())
            world.handOver(path);
        // The computer's file is refused; the player's, which comes first, must not change.
        const QString refused = refusal == "unreadable configuration"
                                    ? kovex.app + "/configs/Locust.txt"
                                    : kovex.unit("MAD-3R_Marauder");
        if (refusal == "read-only unit")
            world.setMode(refused, 0444);
        else if (refusal == "root's unit")
            QVERIFY(::chown(QFile::encodeName(refused).constData(), 0, 0) == 0);
        else
            world.setMode(refused, 0200);
        const QStringList before = kovex.files();

        const Run run = world.run({"apply", kovex.app, kovex.game, "Atlas", "Locust"});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports, QString("report 70: Zugriff verweigert: %1\n").arg(refused));
        kovex.expectUntouched();
        QCOMPARE(kovex.files(), before); // no originals kept, no temporary files
#endif
    }

    // Settings files the user may write, in a folder the user may not: no temporary file can
    // go beside them, and the save says so, naming the first file, and changes neither.
    void aSaveIntoAFolderTheUserMayNotWriteIsRefused() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsSetpriv);
#else
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
#endif
    }

    void readOnlyLeftoversOfAKilledRunDoNotBlock() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsSetpriv);
#else
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
#endif
    }

    // Installed by root, used by another user: configs cannot take the game's own units.
    void configsThatCannotKeepTheOriginalsAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }
    void configsThatCannotKeepTheOriginalsAsksFirst() {
#ifdef Q_OS_WIN
        QSKIP(kNeedsSetpriv);
#else
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
#endif
    }
};

QTEST_GUILESS_MAIN(ProcessesTest)
#include "tst_processes.moc"
