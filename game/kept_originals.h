#pragma once

#include <QStringList>

// The game's own unit files, kept before KOVEX first replaces them, in the game folder itself,
// beside Mechdata and never in it: <game folder>/KOVEX-Originale/<unit>.txt. Every copy of
// KOVEX and every user thus finds the same game's own units, and they move with the game. A
// later content of a unit file that matches nothing known is kept beside them as
// "<unit> (2).txt", "<unit> (3).txt", and so on, so that it can always be got back.
//
// Earlier versions kept them in the application folder, configs/Originale/<game folder's
// name> (<key>)/; what lies there for this game is honoured too, and taken into the game folder
// (migrate), never removed.
class KeptOriginals {
public:
    static inline const QString kFolderName = QStringLiteral("KOVEX-Originale");

    KeptOriginals(const QString& configsFolder, const QString& gameFolder);

    // This game's folder of kept files.
    QString folder() const { return m_folder; }
    // The game's own file for the unit, the first kept; empty when there is none.
    QString gamesOwn(const QString& unit) const;
    // Every file kept for this game, in the game folder first.
    QStringList files() const;
    // Where the next content kept of the unit goes.
    QString nextPlace(const QString& unit) const;
    // Takes what earlier versions kept for this game into the game folder, each content once,
    // as far as the game folder takes it; the earlier files stay.
    void migrate() const;

private:
    QString m_folder;
    QString m_earlierFolder;
};
