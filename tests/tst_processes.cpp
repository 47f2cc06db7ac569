// Copies of the program in real processes, racing each other on one installation: every
// file is always one whole version, and both unit files come from one apply.
#include "kill_test_data.h"
#include "process_support.h"
#include "test_files.h"
#include "test_support.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class ProcessesTest : public QObject {
    Q_OBJECT

private slots:
    void twoCopiesSavingAtOnceLeaveOneWholeList() {
        QTemporaryDir app;
        writeFile(app.filePath("units.ini"), "start\r\n");
        const QSet<QByteArray> whole{crlfLines(kill_test::names('A')),
                                     crlfLines(kill_test::names('B'))};
        for (int round = 0; round < 8; ++round) {
            // Each saves over what the other saved: asked, each says so.
            const QList<Run> runs = race({"--answer-yes", "save", app.path(), "4", "A"},
                                         {"--answer-yes", "save", app.path(), "4", "B"});
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
        QCOMPARE(readFile(keptFolderOf(kovex.game) + "/WHM-6K_Warhammer.txt"), kOriginalWarhammer);
        QCOMPARE(QDir(keptFolderOf(kovex.game)).entryList(QDir::Files),
                 QStringList({"KOVEX-Verlauf.dat", "MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    // The same on every system: copies whose temporary and runtime folders differ, applying
    // crosswise, exclude each other (on Windows through the folders' file IDs).
    // While one copy's question waits for the user, the copy holds no folder: another copy's
    // save and apply on the same folders go through at once, without a word.
    void aQuestionOpenInOneCopyKeepsNoOtherWaiting_data() {
        QTest::addColumn<QString>("asking");
        QTest::newRow("a save over a changed file") << "save";
        QTest::newRow("an apply that cannot keep the originals") << "apply";
    }
    void aQuestionOpenInOneCopyKeepsNoOtherWaiting() {
        QFETCH(QString, asking);
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        writeFile(keptFolderOf(kovex.game), "in the way: nothing can be kept");
        QProcess first;
        const QStringList args =
            asking == "save" ? QStringList{"save", kovex.app}
                             : QStringList{"apply", kovex.app, kovex.game, "Atlas", "Locust"};
        start(first, {QStringList{"--wait-for-go", "--hold-questions"} + args});
        QVERIFY(first.waitForReadyRead(20000));
        writeFile(kovex.app + "/units.ini", "changed meanwhile\r\n");
        first.write("go\n");
        QString said;
        QTRY_VERIFY_WITH_TIMEOUT((said += first.readAllStandardError()).contains("question:"),
                                 20000);
        for (const QStringList& other :
             {QStringList{"--answer-yes", "save", kovex.app},
              QStringList{"--answer-yes", "apply", kovex.app, kovex.game, "Locust", "Atlas"}}) {
            const Run run = runDriver(other);
            QCOMPARE(run.reports, QString());
            QCOMPARE(run.exitCode, 0);
        }
        QCOMPARE(readFile(kovex.unit("WHM-6K_Warhammer")), QByteArray("locust\r\n"));
        first.write("\n");
        QCOMPARE(finish(first).exitCode, 0);
    }

    void copiesWithFoldersOfTheirOwnExcludeEachOther() {
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const CrosswisePair pair(kovex.app);
        QStringList environments[2];
        for (int i = 0; i < 2; ++i) {
            const QString own = base.filePath(QString("own-%1").arg(i));
            QDir().mkpath(own);
            environments[i] << "TEMP=" + own << "TMP=" + own << "TMPDIR=" + own
                            << "XDG_RUNTIME_DIR=" + own;
        }
        for (int round = 0; round < 8; ++round) {
            const QList<Run> runs =
                race(QList<Launch>{{{"apply", kovex.app, kovex.game, "Alpha", "Beta", "2"},
                                    {},
                                    QStringLiteral(KOVEX_DRIVER),
                                    environments[0]},
                                   {{"apply", kovex.app, kovex.game, "Beta", "Alpha", "2"},
                                    {},
                                    QStringLiteral(KOVEX_DRIVER),
                                    environments[1]}});
            for (const Run& run : runs)
                QVERIFY2(run.exitCode == 0 && run.reports.isEmpty(),
                         qPrintable(QString("round %1: %2").arg(round).arg(run.reports)));
            const QString wrong = pair.wrongIn(kovex.game);
            QVERIFY2(wrong.isEmpty(), qPrintable(QString("round %1: %2").arg(round).arg(wrong)));
        }
    }
};

QTEST_GUILESS_MAIN(ProcessesTest)
#include "tst_processes.moc"
