#include "game_finder.h"

#include "unit_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {

// Whether the folder is a game folder: its Mechdata (in whatever case) holds both unit files.
bool isGameFolder(const QDir& folder, const QStringList& subfolders) {
    for (const QString& name : subfolders) {
        if (name.compare(QLatin1String("Mechdata"), Qt::CaseInsensitive) != 0)
            continue;
        const QStringList files = QDir(folder.filePath(name)).entryList(QDir::Files);
        const auto holds = [&](const QString& unit) {
            return files.contains(unit + QStringLiteral(".txt"), Qt::CaseInsensitive);
        };
        if (holds(unit_files::kPlayerUnit) && holds(unit_files::kComputerUnit))
            return true;
    }
    return false;
}

} // namespace

GameFinder::~GameFinder() {
    m_stop = true;
    if (m_search.joinable())
        m_search.join();
}

void GameFinder::start(std::function<QStringList()> places, int depth,
                       std::chrono::milliseconds limit) {
    if (m_search.joinable())
        return;
    m_search = std::thread([this, places = std::move(places), depth, limit] {
        const QString game = find(places(), depth, limit, &m_stop);
        if (!m_stop)
            QMetaObject::invokeMethod(
                this, [this, game] { emit found(game); }, Qt::QueuedConnection);
    });
}

QString GameFinder::find(const QStringList& places, int depth, std::chrono::milliseconds limit,
                         const std::atomic_bool* stop) {
    QElapsedTimer clock;
    clock.start();
    // Breadth first, place by place: the shallowest game is the likeliest.
    for (const QString& place : places) {
        QList<std::pair<QString, int>> queue{{place, 0}};
        for (qsizetype next = 0; next < queue.size(); ++next) {
            if ((stop && *stop) || clock.elapsed() > limit.count())
                return {};
            const auto [path, level] = queue.at(next);
            const QDir folder(path);
            const QStringList subfolders =
                folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
            if (isGameFolder(folder, subfolders))
                return QDir::cleanPath(folder.absolutePath());
            if (level < depth)
                for (const QString& name : subfolders)
                    queue.append({folder.filePath(name), level + 1});
        }
    }
    return {};
}
