// The program in a process of its own, driven through its windows, for tests that need real
// processes: killed at random moments, two copies racing, traced system calls, another user.
// Each report is printed to stderr as "report <number>: <text>", each question as
// "question: <text>"; the exit code is 3 when there was a report.
//
//   Options before the mode: --wait-for-go waits for a line on stdin after "ready", so that two
//   copies can be released together; --answer-yes answers questions "Ja" (else "Nein");
//   --hold-questions answers each only after a line on stdin, as a user who reads the box.
//
//   kovex_driver loop  APP GAME_A GAME_B   saves and applies in turn until killed, saying
//                                          "saving" and "applying" before each; ends at the
//                                          first report
//   kovex_driver once  APP GAME_A GAME_B   one such round on each game folder
//   kovex_driver save  APP [ROUNDS [SIDE]] "Speichern"; with SIDE (A or B) the names are first
//                                          replaced by that side's list
//   APP "-" is the folder that holds the driver, found as kovex finds its own.
//   kovex_driver apply APP GAME PLAYER COMPUTER [ROUNDS]
//                                          "Konfig´s zuweisen" with those slots
//   kovex_driver import APP FILE...        the files taken in, as "Datei hinzufügen…" does
//   kovex_driver hold  APP GAME            holds the folders as a save and an apply do, says
//                                          "held", and waits to be killed
#include "app/application_folder.h"
#include "app/kovex_app.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "kill_test_data.h"

namespace {

int g_reports = 0;
bool g_endAtFirstReport = false;

void printReport(const KovexError& error) {
    std::fprintf(stderr, "report %d: %s\n", error.number(), qPrintable(error.description()));
    std::fflush(stderr);
    ++g_reports;
    if (g_endAtFirstReport)
        std::exit(3);
}

void setNames(KovexApp& app, char side) {
    app.form2().List1->Clear();
    app.form2().List1->AddItems(kill_test::names(side));
}

void apply(KovexApp& app, const QString& game, const QString& player, const QString& computer) {
    app.form2().Dir1->setPath(game);
    app.form1().player->setText(player);
    app.form1().computer->setText(computer);
    app.form1().Command4->click();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const bool waitForGo = args.removeAll(QStringLiteral("--wait-for-go")) > 0;
    const bool answerYes = args.removeAll(QStringLiteral("--answer-yes")) > 0;
    const bool holdQuestions = args.removeAll(QStringLiteral("--hold-questions")) > 0;
    if (args.size() < 3)
        return 2;
    const QString mode = args[1];
    const auto arg = [&](int i) { return args.value(i); };
    const auto rounds = [&](int i) { return args.size() > i ? args[i].toInt() : 1; };
    // "-": the folder of this program itself, found as the program finds its own.
    KovexApp app(arg(2) == QLatin1String("-") ? applicationFolder() : arg(2));
    g_endAtFirstReport = mode == QLatin1String("loop");
    app.errorReport().setCapture(printReport);
    app.errorReport().setAnswer([=](const QString& question) {
        std::fprintf(stderr, "question: %s\n", qPrintable(QString(question).replace('\n', ' ')));
        std::fflush(stderr);
        char line[16];
        if (holdQuestions && !std::fgets(line, sizeof line, stdin))
            std::exit(2);
        return answerYes;
    });
    app.start();
    std::printf("ready\n");
    std::fflush(stdout);
    if (waitForGo) {
        char line[16];
        if (!std::fgets(line, sizeof line, stdin))
            return 2;
    }

    if (mode == QLatin1String("loop") || mode == QLatin1String("once")) {
        for (int round = 0;; ++round) {
            const int side = round % 2;
            setNames(app, side ? 'B' : 'A');
            app.form2().Dir1->setPath(arg(3 + side));
            std::printf("saving\n");
            std::fflush(stdout);
            app.form1().Speichern->trigger();
            std::printf("applying\n");
            std::fflush(stdout);
            apply(app, arg(3 + side), side ? QStringLiteral("Alpha") : QStringLiteral("Beta"),
                  side ? QStringLiteral("Beta") : QStringLiteral("Alpha"));
            if (mode == QLatin1String("once") && side == 1)
                break;
        }
    } else if (mode == QLatin1String("save")) {
        for (int i = 0, n = rounds(3); i < n; ++i) {
            if (args.size() > 4)
                setNames(app, arg(4).at(0).toLatin1());
            app.form1().Speichern->trigger();
        }
    } else if (mode == QLatin1String("hold")) {
        const FolderLock folder(arg(2));
        const FolderLock mechdata(arg(3) + QStringLiteral("/Mechdata"));
        std::printf("held\n");
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    } else if (mode == QLatin1String("import")) {
        app.form1().addConfigurations(args.mid(3));
    } else if (mode == QLatin1String("apply")) {
        for (int i = 0, n = rounds(6); i < n; ++i)
            apply(app, arg(3), arg(4), arg(5));
    } else {
        return 2;
    }
    return g_reports ? 3 : 0;
}
