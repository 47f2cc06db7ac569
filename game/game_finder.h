#pragma once

#include <QObject>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// Looks for an installed game: a folder whose Mechdata holds the game's two unit files, in the
// usual places (game_places.h), beside the user interface and within a time limit, so that it
// never holds up a window. found() comes once, in the thread of the finder, with the folder,
// or with nothing.
class GameFinder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~GameFinder() override;

    // Looks through the places (asked for in the search's own thread) and the folders below
    // them, each down to depth levels.
    void start(std::function<QStringList()> places, int depth = 3,
               std::chrono::milliseconds limit = std::chrono::seconds(3));

    // The same, at once: the first game folder found, or nothing.
    static QString find(const QStringList& places, int depth, std::chrono::milliseconds limit,
                        const std::atomic_bool* stop = nullptr);

signals:
    void found(const QString& gameFolder);

private:
    std::thread m_search;
    std::atomic_bool m_stop{false};
};
