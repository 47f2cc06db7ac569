// The program in real processes: its system calls traced, faults injected into them by strace.
#include "test_support.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString reports; // what the program reported, one line each
};

// Runs the driver with the arguments, under strace when it is given options.
Run runDriver(const QStringList& args, const QStringList& straceOptions = {}) {
    QProcess process;
    process.setProcessEnvironment(offscreenEnvironment());
    if (straceOptions.isEmpty())
        process.start(QStringLiteral(KOVEX_DRIVER), args);
    else
        process.start(QStringLiteral("strace"),
                      straceOptions + QStringList{"--", QStringLiteral(KOVEX_DRIVER)} + args);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n'))
        if (line.startsWith("report "))
            run.reports += line + '\n';
    return run;
}

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
        QTemporaryDir app;
        writeFile(app.filePath("units.ini"), "A\r\nB\r\n");
        const QString log = app.filePath("trace.log");
        const Run run =
            runDriver({"save", app.path()}, kTraceRenamesAndSyncs + QStringList{"-o", log});
        QCOMPARE(run.reports, QString());
        QCOMPARE(run.exitCode, 0);
        const QList<Call> calls = tracedCalls(log);
        expectDurableReplace(calls, app.filePath("Konfigs.ini"));
        expectDurableReplace(calls, app.filePath("units.ini"));
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("A\r\nB\r\n"));
    }

    void aRefusedPermissionChangeIsReportedAndChangesNothing() {
        QTemporaryDir app;
        writeFile(app.filePath("units.ini"), "A\r\n");
        writeFile(app.filePath("Konfigs.ini"), "");
        // Each settings file gets the old file's permissions; the system refuses that here.
        const Run run = runDriver({"save", app.path()},
                                  {"-f", "-qq", "-o", "/dev/null", "-e", "trace=fchmod,fchmodat",
                                   "-e", "inject=fchmod,fchmodat:error=EPERM"});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.reports, QString::fromUtf8("report 70: Zugriff verweigert: %1\n")
                                  .arg(app.filePath("Konfigs.ini")));
        QCOMPARE(readFile(app.filePath("Konfigs.ini")), QByteArray());
        QCOMPARE(readFile(app.filePath("units.ini")), QByteArray("A\r\n"));
        QCOMPARE(QDir(app.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Konfigs.ini", "units.ini"}));
    }
};

QTEST_GUILESS_MAIN(ProcessesTest)
#include "tst_processes.moc"
