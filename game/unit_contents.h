#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// The known contents a unit file can be told by: the configurations in configs and the files
// kept for the game. Sizes are compared first, and only files of the unit's size are read.
class UnitContents {
public:
    // Files that are themselves one of the excluded ones (a unit file about to be replaced,
    // reached through a link) are no copy of anything and are left out.
    UnitContents(const QString& configsFolder, const KeptOriginals& originals,
                 const QStringList& excluded = {});

    // Which known content the file holds; where several configurations hold it, the preferred
    // one if it is among them, else the first by name. A unit file that cannot be read throws
    // (KovexError, naming it); a known file that cannot be read holds nothing.
    UnitHolding identify(const QString& unitFile, const QString& preferred = {}) const;

private:
    struct Known {
        QString path;
        qint64 size;
        UnitHolding holding;
    };
    QList<Known> m_known;
};
