#pragma once

#include <QList>
#include <QStringList>

#include <optional>

class KeptOriginals;

// What a unit file of the game holds.
struct UnitHolding {
    enum class Kind {
        Missing,       // no unit file
        Configuration, // the bytes of a configuration in configs
        GamesOwn,      // the bytes of a file kept for this game (KeptOriginals)
        Unknown,       // nothing known
    };
    Kind kind = Kind::Missing;
    QString configuration; // its name, for Configuration; the kept file's, for GamesOwn

    bool operator==(const UnitHolding&) const = default;
};

// The known contents a unit can be told by: the files kept for the game and the configurations
// in configs. Only files of the unit's size are read.
class UnitContents {
public:
    // The excluded files (the unit files themselves, where configs is reached through a link to
    // Mechdata) are no copy of anything.
    UnitContents(const QString& configsFolder, const KeptOriginals& originals,
                 const QStringList& excluded);

    // Which known content the bytes are: the game's own before any configuration; among
    // configurations the preferred, else the first by name. A known file that cannot be read
    // holds nothing. Only a known file of the unit's size is read: once, and once more where it
    // may hold the unit.
    UnitHolding identify(const QByteArray& unit, const QString& preferred = {}) const;
    // A file just kept for the game, with its bytes.
    void addKept(const QString& path, const QByteArray& bytes);

private:
    struct Known {
        QString path;
        qint64 size;
        UnitHolding holding;
        mutable std::optional<size_t> hash; // of its bytes, once read; 0 where it cannot be
    };
    QList<Known> m_known;
};

// What the game in a game folder holds, for each of its two unit files.
struct GameHoldings {
    QString mechdata; // where "Konfig´s zuweisen" writes; empty where the game folder is not there
    UnitHolding player;
    UnitHolding computer;
    // The kept files "Standard wiederherstellen" gives each unit; empty where none is kept.
    QString playerDefault;
    QString computerDefault;
};

// Looks at the game's unit files now, against the configurations in configs and the units kept
// for the game. The slots' configurations are preferred where several hold the same bytes.
GameHoldings holdingsOf(const QString& configsFolder, const QString& gameFolder,
                        const QString& playerSlot = {}, const QString& computerSlot = {});
