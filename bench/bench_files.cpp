// A whole save (WriteKonfigs, WriteUnits, ReadSettings) of 1 000 names, and the apply step by unit
// file size beside the floor for it: a durable copy of the same bytes (copy to a file beside
// the target, sync it, rename it over the target, sync the folder).
#include "app/kovex_app.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "game/unit_contents.h"
#include "main_window/form1.h"
#include "settings/module1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, qint64 size, char fill) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    const QByteArray chunk(1 << 20, fill);
    for (qint64 left = size; left > 0; left -= chunk.size())
        file.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
}

void BM_Save(benchmark::State& state) {
    QTemporaryDir dir;
    KovexApp app(dir.path());
    app.errorReport().setCapture([](const KovexError&) { std::abort(); });
    app.module1().ReadSettings();
    QStringList names;
    for (int i = 0; i < state.range(0); ++i)
        names << QStringLiteral("Konfiguration_%1").arg(i);
    app.form2().List1->AddItems(names);
    for (auto _ : state)
        app.module1().SaveSettings();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Save)->Arg(1000)->Unit(benchmark::kMillisecond);

struct ApplyFolders {
    explicit ApplyFolders(qint64 size) {
        QDir(app.path()).mkdir("configs");
        QDir(game.path()).mkdir("Mechdata");
        writeFile(app.filePath("configs/Alpha.txt"), size, 'a');
        writeFile(app.filePath("configs/Beta.txt"), size, 'b');
        // The game's originals are already kept, as after the first apply.
        writeFile(app.filePath("configs/WHM-6K_Warhammer.txt"), 10, 'w');
        writeFile(app.filePath("configs/MAD-3R_Marauder.txt"), 10, 'm');
        writeFile(game.filePath("Mechdata/WHM-6K_Warhammer.txt"), 10, 'w');
        writeFile(game.filePath("Mechdata/MAD-3R_Marauder.txt"), 10, 'm');
    }
    QTemporaryDir app;
    QTemporaryDir game;
};

void BM_Apply(benchmark::State& state) {
    ApplyFolders folders(state.range(0));
    KovexApp app(folders.app.path());
    app.errorReport().setCapture([](const KovexError&) { std::abort(); });
    app.form2().Dir1->setPath(folders.game.path());
    app.form1().player->setText("Alpha");
    app.form1().computer->setText("Beta");
    for (auto _ : state)
        app.form1().Command4->click();
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

void durableCopy(const std::string& source, const std::string& folder, const std::string& name) {
    const std::string temp = folder + "/" + name + ".tmp";
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    static char buffer[1 << 20];
    for (ssize_t got; (got = ::read(in, buffer, sizeof buffer)) > 0;)
        if (::write(out, buffer, got) != got)
            std::abort();
    ::fsync(out);
    ::close(out);
    ::close(in);
    std::rename(temp.c_str(), (folder + "/" + name).c_str());
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
}

void BM_DurableCopy(benchmark::State& state) {
    ApplyFolders folders(state.range(0));
    const std::string configs = folders.app.filePath("configs").toStdString();
    const std::string mechdata = folders.game.filePath("Mechdata").toStdString();
    for (auto _ : state) {
        durableCopy(configs + "/Alpha.txt", mechdata, "WHM-6K_Warhammer.txt");
        durableCopy(configs + "/Beta.txt", mechdata, "MAD-3R_Marauder.txt");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

// What the game holds, with many configurations of the unit files' own size: every one of them
// is read, the worst case. The player's unit is the last configuration, the computer's none.
void BM_GameHoldings(benchmark::State& state) {
    QTemporaryDir app;
    QTemporaryDir game;
    QDir(app.path()).mkdir("configs");
    QDir(game.path()).mkdir("Mechdata");
    const auto unit = [](int number) {
        QByteArray bytes = QByteArray::number(number) + '\n';
        bytes.append(QByteArray(4096 - bytes.size(), 'x'));
        return bytes;
    };
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    };
    const int count = int(state.range(0));
    for (int i = 0; i < count; ++i)
        write(app.filePath(QStringLiteral("configs/Konfiguration_%1.txt").arg(i)), unit(i));
    write(game.filePath("Mechdata/WHM-6K_Warhammer.txt"), unit(count - 1));
    write(game.filePath("Mechdata/MAD-3R_Marauder.txt"), unit(-1));
    for (auto _ : state) {
        const GameHoldings holdings = holdingsOf(app.filePath("configs"), game.path());
        if (holdings.player.configuration != QStringLiteral("Konfiguration_%1").arg(count - 1) ||
            holdings.computer.kind != UnitHolding::Kind::Unknown)
            std::abort();
    }
}
BENCHMARK(BM_GameHoldings)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

constexpr int64_t k4KiB = 4 << 10;
constexpr int64_t k100MiB = int64_t(100) << 20;
BENCHMARK(BM_Apply)->Arg(k4KiB)->Arg(k100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DurableCopy)->Arg(k4KiB)->Arg(k100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
