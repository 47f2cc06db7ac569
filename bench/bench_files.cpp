// A whole save (WriteKonfigs, WriteUnits, ReadSettings) by list size, and the apply step by unit
// file size beside a plain copy of the same bytes.
#include "app/kovex_app.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"
#include "settings/module1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

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
    app.setErrorReport([](const KovexError&) { std::abort(); });
    app.module1().ReadSettings();
    QStringList names;
    for (int i = 0; i < state.range(0); ++i)
        names << QStringLiteral("Konfiguration_%1").arg(i);
    app.form2().List1->AddItems(names);
    for (auto _ : state)
        app.module1().SaveSettings();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
    app.setErrorReport([](const KovexError&) { std::abort(); });
    app.form2().Dir1->setPath(folders.game.path());
    app.form1().player->setText("Alpha");
    app.form1().computer->setText("Beta");
    for (auto _ : state)
        app.form1().Command4->click();
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

void BM_PlainCopy(benchmark::State& state) {
    ApplyFolders folders(state.range(0));
    namespace fs = std::filesystem;
    const fs::path configs = folders.app.filePath("configs").toStdString();
    const fs::path mechdata = folders.game.filePath("Mechdata").toStdString();
    for (auto _ : state) {
        fs::copy_file(configs / "Alpha.txt", mechdata / "WHM-6K_Warhammer.txt",
                      fs::copy_options::overwrite_existing);
        fs::copy_file(configs / "Beta.txt", mechdata / "MAD-3R_Marauder.txt",
                      fs::copy_options::overwrite_existing);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

constexpr int64_t k4KiB = 4 << 10;
constexpr int64_t k100MiB = int64_t(100) << 20;
BENCHMARK(BM_Apply)->Arg(k4KiB)->Arg(k100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainCopy)->Arg(k4KiB)->Arg(k100MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
