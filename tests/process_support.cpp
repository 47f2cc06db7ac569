#include "process_support.h"

#include "kill_test_data.h"
#include "test_files.h"
#include "test_support.h"

#include <memory>
#include <vector>

void start(QProcess& process, const Launch& launch) {
    QProcessEnvironment env = offscreenEnvironment();
    // LeakSanitizer cannot work under ptrace; the sanitizer build's other checks still do.
    if (launch.wrapper.contains("strace"))
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
    for (const QString& setting : launch.environment)
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    process.setProcessEnvironment(env);
    if (launch.wrapper.isEmpty())
        process.start(launch.driver, launch.args);
    else
        process.start(launch.wrapper.first(),
                      launch.wrapper.mid(1) + QStringList{launch.driver} + launch.args);
}

Run finish(QProcess& process) {
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill(); // a copy that hangs must not outlive its test
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n')) {
        if (line.startsWith("report "))
            run.reports += line + '\n';
        if (line.startsWith("question: "))
            run.questions += line + '\n';
    }
    return run;
}

Run runDriver(const QStringList& args, const QStringList& wrapper, const QString& driver) {
    QProcess process;
    start(process, {args, wrapper, driver, {}});
    return finish(process);
}

QList<Run> race(QList<Launch> launches) {
    std::vector<std::unique_ptr<QProcess>> copies;
    for (Launch& launch : launches) {
        launch.args.prepend("--wait-for-go");
        copies.push_back(std::make_unique<QProcess>());
        start(*copies.back(), launch);
    }
    for (auto& copy : copies)
        while (!copy->canReadLine() && copy->waitForReadyRead(20000)) {
        }
    for (auto& copy : copies)
        copy->write("go\n");
    QList<Run> runs;
    for (auto& copy : copies)
        runs << finish(*copy);
    return runs;
}

QList<Run> race(const QStringList& first, const QStringList& second) {
    return race(QList<Launch>{{first}, {second}});
}

CrosswisePair::CrosswisePair(const QString& app)
    : alpha(kill_test::unitBytes('a', 2)), beta(kill_test::unitBytes('b', 2)) {
    writeFile(app + "/configs/Alpha.txt", alpha);
    writeFile(app + "/configs/Beta.txt", beta);
}

QString CrosswisePair::wrongIn(const QString& game) const {
    const QByteArray player = readFile(game + "/Mechdata/WHM-6K_Warhammer.txt");
    const QByteArray computer = readFile(game + "/Mechdata/MAD-3R_Marauder.txt");
    if ((player == alpha && computer == beta) || (player == beta && computer == alpha))
        return {};
    const auto name = [&](const QByteArray& b) {
        return b == alpha ? "Alpha" : b == beta ? "Beta" : b.left(20).constData();
    };
    return QString("player %1, computer %2").arg(name(player), name(computer));
}
