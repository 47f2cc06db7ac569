#pragma once

#include <QString>
#include <QStringList>

// The game's own unit files, kept before KOVEX first replaces them, each game folder's apart
// from every other's: configs/Originale/<game folder's name> (<key>)/<unit>.txt. A later
// content of a unit file that matches nothing known is kept beside them as
// "<unit> (2).txt", "<unit> (3).txt", and so on, so that it can always be got back.
class KeptOriginals {
public:
    KeptOriginals(const QString& configsFolder, const QString& gameFolder);

    // This game's folder of kept files.
    QString folder() const { return m_folder; }
    // The game's own file for the unit, the first kept; empty when there is none.
    QString gamesOwn(const QString& unit) const;
    // Every file kept for this game.
    QStringList files() const;
    // Where the next content kept of the unit goes.
    QString nextPlace(const QString& unit) const;

private:
    QString m_folder;
};
