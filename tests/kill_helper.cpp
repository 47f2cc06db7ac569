// Saves and applies through the real windows in a loop until it is killed: the victim of the
// kill test. Arguments: application folder, game folder A, game folder B, and "once" to run one
// round on each game folder and end.
#include "app/kovex_app.h"
#include "app/list_box.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "main_window/form1.h"
#include "settings/kovex_error.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "kill_test_data.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4)
        return 2;
    KovexApp app(args[1]);
    app.setErrorReport([](const KovexError& error) {
        std::fprintf(stderr, "report %d: %s\n", error.number(), qPrintable(error.description()));
        std::exit(3);
    });
    app.start();
    const bool once = args.size() > 4 && args[4] == QLatin1String("once");
    const QStringList lists[] = {kill_test::names('A'), kill_test::names('B')};

    std::printf("ready\n");
    std::fflush(stdout);
    for (int round = 0;; ++round) {
        const int side = round % 2;
        Form2& config = app.form2();
        config.List1->Clear();
        config.List1->AddItems(lists[side]);
        config.Dir1->setPath(args[2 + side]);
        app.form1().Speichern->trigger();
        app.form1().player->setText(side ? QStringLiteral("Alpha") : QStringLiteral("Beta"));
        app.form1().computer->setText(side ? QStringLiteral("Beta") : QStringLiteral("Alpha"));
        app.form1().Command4->click();
        if (once && side == 1)
            return 0;
    }
}
