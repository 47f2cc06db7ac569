// How long the window is held up, at the most, by each thing a player does that reads many
// files: the look at the game after start-up, opening the configuration window, opening a folder of
// 10 000 subfolders in its folder list (what the game there holds included), "Speichern", and
// "Konfig´s zuweisen" with 1 000 configurations of the units' size known. A timer that fires at
// every turn of the event loop measures the longest gap between two turns while each runs to its
// end. Prints one line each, in milliseconds; run by bench/run.sh.
#include "app/kovex_app.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "files/kovex_error.h"
#include "main_window/form1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

QByteArray unit(int number) {
    QByteArray bytes = QByteArray::number(number) + '\n';
    return bytes + QByteArray(4096 - bytes.size(), 'x');
}

// The longest time the event loop was held up while the step ran and until it is done.
double longestStall(const std::function<void()>& step, const std::function<bool()>& done) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longest = qMax(longest, clock.nsecsElapsed() - last);
        last = clock.nsecsElapsed();
    });
    probe.start(0);
    clock.start();
    QTimer::singleShot(0, step);
    while (clock.elapsed() < 200 || !done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    for (int turn = 0; turn < 50; ++turn)
        QCoreApplication::processEvents();
    return double(longest) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTemporaryDir app;
    QTemporaryDir game;
    QDir(app.path()).mkdir("configs");
    QDir(game.path()).mkpath("Mechdata");
    QByteArray names;
    for (int i = 0; i < 1000; ++i) {
        write(app.filePath(QStringLiteral("configs/Konfiguration_%1.txt").arg(i)), unit(i));
        names += "Konfiguration_" + QByteArray::number(i) + "\r\n";
    }
    write(app.filePath("units.ini"), names);
    write(app.filePath("Konfigs.ini"), game.path().toUtf8() + "\r\n");
    write(game.filePath("Mechdata/WHM-6K_Warhammer.txt"), unit(-1));
    write(game.filePath("Mechdata/MAD-3R_Marauder.txt"), unit(-2));
    const QString crowded = game.filePath("crowded");
    for (int i = 0; i < 10000; ++i)
        QDir().mkpath(crowded + QStringLiteral("/Ordner %1").arg(i, 5, 10, QChar('0')));

    KovexApp kovex(app.path());
    kovex.errorReport().setCapture([](const KovexError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        std::abort();
    });
    kovex.errorReport().setAnswer([](const QString&) { return true; });
    kovex.start();
    Form1& main = kovex.form1();
    Form2& config = kovex.form2();
    const auto always = [] { return true; };
    // Once the window is up, what the game holds is looked at, in a turn of its own.
    std::printf("the look at the game after start-up: %.1f ms\n", longestStall([] {}, always));
    std::printf("opening the configuration window: %.1f ms\n",
                longestStall([&] { main.Konfigurieren->trigger(); }, always));
    std::printf("opening a folder of 10 000 subfolders: %.1f ms\n",
                longestStall([&] { emit config.Dir1->openRequested(crowded); },
                             [&] { return config.Dir1->isFilled(); }));
    config.Dir1->setPath(game.path());
    std::printf("Speichern: %.1f ms\n", longestStall([&] { main.Speichern->trigger(); }, always));
    main.player->setText("Konfiguration_998");
    main.computer->setText("Konfiguration_999");
    std::printf("Konfig´s zuweisen: %.1f ms\n",
                longestStall([&] { main.Command4->click(); }, always));
    return 0;
}
