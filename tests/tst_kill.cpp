// Kills a process that saves and applies at random moments; after every kill each settings
// file and each unit file must be wholly its old or wholly its new content.
#include "kill_test_data.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <random>

namespace {

int envNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class KillTest : public QObject {
    Q_OBJECT

private slots:
    void killedAtRandomMomentsLosesNothing() {
        const int kills = envNumber("KOVEX_KILLS", 200);
        const int randomStart = envNumber("KOVEX_KILL_RANDOM_START", 20261207);
        qInfo("kills: %d, random start: %d (KOVEX_KILLS, KOVEX_KILL_RANDOM_START rerun it)", kills,
              randomStart);
        std::mt19937 random(randomStart);
        std::uniform_int_distribution<int> delayMs(0, 120);

        QTemporaryDir app;
        QTemporaryDir games;
        const QString gameA = games.filePath("A");
        const QString gameB = games.filePath("B");
        const QByteArray original = kill_test::unitBytes('o', 1);
        const QByteArray alpha = kill_test::unitBytes('a', 3);
        const QByteArray beta = kill_test::unitBytes('b', 2);
        QVERIFY(QDir(app.path()).mkdir("configs"));
        writeFile(app.filePath("configs/Alpha.txt"), alpha);
        writeFile(app.filePath("configs/Beta.txt"), beta);
        QStringList unitFiles;
        for (const QString& game : {gameA, gameB}) {
            QVERIFY(QDir().mkpath(game + "/Mechdata"));
            for (const char* unit : {"WHM-6K_Warhammer.txt", "MAD-3R_Marauder.txt"}) {
                unitFiles << game + "/Mechdata/" + unit;
                writeFile(unitFiles.last(), original);
            }
        }
        writeFile(app.filePath("configs/WHM-6K_Warhammer.txt"), original);
        writeFile(app.filePath("configs/MAD-3R_Marauder.txt"), original);
        const QByteArray initialUnits = crlfLines({"start"});
        writeFile(app.filePath("units.ini"), initialUnits);
        writeFile(app.filePath("Konfigs.ini"), QByteArray());

        const QString configs = QDir::toNativeSeparators(app.filePath("configs"));
        const QSet<QByteArray> konfigsAllowed{QByteArray(), crlfLines({native(gameA), configs}),
                                              crlfLines({native(gameB), configs})};
        const QSet<QByteArray> unitsAllowed{initialUnits, crlfLines(kill_test::names('A')),
                                            crlfLines(kill_test::names('B'))};
        const QSet<QByteArray> unitFileAllowed{original, alpha, beta};
        // Besides the files themselves, at most one temporary file per target: leftovers of a
        // killed run are removed by the next write, never piled up.
        const auto expectAtMostOneLeftoverEach = [](const QString& folder,
                                                    const QStringList& targets) {
            const QStringList entries =
                QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            int leftovers = 0;
            for (const QString& entry : entries) {
                if (targets.contains(entry) || entry == "configs")
                    continue;
                const QString target = entry.chopped(7); // QSaveFile's "<target>.XXXXXX"
                QVERIFY2(targets.contains(target) && entries.count(target) == 1,
                         qPrintable(folder + ": " + entry));
                ++leftovers;
            }
            QVERIFY2(leftovers <= targets.size(), qPrintable(entries.join(' ')));
        };

        int killsWhile[2] = {0, 0}; // saving, applying
        for (int k = 0; k < kills; ++k) {
            QProcess helper;
            helper.setProcessEnvironment(offscreenEnvironment());
            helper.start(QStringLiteral(KOVEX_DRIVER), {"loop", app.path(), gameA, gameB});
            QVERIFY(helper.waitForStarted());
            QVERIFY2(helper.waitForReadyRead(20000), helper.readAllStandardError().constData());
            QTest::qSleep(delayMs(random));
            QCOMPARE(helper.state(), QProcess::Running); // no report ended it
            helper.kill();
            QVERIFY(helper.waitForFinished());
            const QList<QByteArray> said = helper.readAllStandardOutput().trimmed().split('\n');
            killsWhile[0] += said.last() == "saving";
            killsWhile[1] += said.last() == "applying";

            const QByteArray units = readFile(app.filePath("units.ini"));
            QVERIFY2(unitsAllowed.contains(units),
                     qPrintable(QString("kill %1: units.ini").arg(k)));
            QVERIFY2(konfigsAllowed.contains(readFile(app.filePath("Konfigs.ini"))),
                     qPrintable(QString("kill %1: Konfigs.ini").arg(k)));
            for (const QString& unit : unitFiles)
                QVERIFY2(unitFileAllowed.contains(readFile(unit)),
                         qPrintable(QString("kill %1: %2").arg(k).arg(unit)));

            expectAtMostOneLeftoverEach(app.path(), {"Konfigs.ini", "units.ini"});
            for (const QString& game : {gameA, gameB})
                expectAtMostOneLeftoverEach(game + "/Mechdata",
                                            {"WHM-6K_Warhammer.txt", "MAD-3R_Marauder.txt"});
        }
        qInfo("kills while saving: %d, while applying: %d, of %d", killsWhile[0], killsWhile[1],
              kills);
        QVERIFY(killsWhile[0] >= 1 && killsWhile[1] >= 1); // the kills did land in both

        // The next undisturbed round finds the leftovers and leaves none.
        QProcess helper;
        helper.setProcessEnvironment(offscreenEnvironment());
        helper.start(QStringLiteral(KOVEX_DRIVER), {"once", app.path(), gameA, gameB});
        QVERIFY(helper.waitForFinished(60000));
        QVERIFY2(helper.exitCode() == 0, helper.readAllStandardError().constData());
        QCOMPARE(QDir(app.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"configs", "Konfigs.ini", "units.ini"}));
        QCOMPARE(readFile(unitFiles[0]), beta);
        QCOMPARE(readFile(unitFiles[1]), alpha);
        QCOMPARE(readFile(unitFiles[2]), alpha);
        QCOMPARE(readFile(unitFiles[3]), beta);
        QCOMPARE(readFile(app.filePath("units.ini")), crlfLines(kill_test::names('B')));
        for (const QString& game : {gameA, gameB})
            QCOMPARE(QDir(game + "/Mechdata").entryList(QDir::Files).size(), 2);
    }
};

QTEST_GUILESS_MAIN(KillTest)
#include "tst_kill.moc"
