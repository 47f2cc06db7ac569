#pragma once

#include <QDateTime>
#include <QMap>
#include <QStringList>

// The game's own unit files, kept before KOVEX first replaces them, in the game folder itself,
// beside Mechdata and never in it: <game folder>/KOVEX-Originale/<unit>.txt. Every copy of
// KOVEX and every user thus finds the same game's own units, and they move with the game. A
// later content of a unit file that matches nothing known is kept beside them as
// "<unit> (2).txt", "<unit> (3).txt", and so on, so that it can always be got back.
//
// Beside them a record (kRecordName, never taken for a kept unit) says what KOVEX itself last
// wrote into each unit file, and which kept files are the game's own and when each was last
// found in its unit file: what a unit file holds that is neither a configuration nor what KOVEX
// wrote there came from the game (an update, a verification by the store), and the defaults
// restore the game's own unit found most recently.
//
// Earlier versions kept them in the application folder, configs/Originale/<game folder's
// name> (<key>)/; what lies there for this game is honoured too, and taken into the game folder
// (migrate), never removed.
class KeptOriginals {
public:
    static inline const QString kFolderName = QStringLiteral("KOVEX-Originale");
    static inline const QString kRecordName = QStringLiteral("KOVEX-Verlauf.dat");

    KeptOriginals(const QString& configsFolder, const QString& gameFolder);

    // This game's folder of kept files.
    QString folder() const { return m_folder; }
    // The game's own file for the unit that the defaults restore: the one found in the unit file
    // most recently; where the record knows none (a folder kept before it), the first kept.
    // Empty when there is none.
    QString gamesOwn(const QString& unit) const;
    // Whether the record can tell what KOVEX wrote: it was read, or nothing was kept before it.
    // In a folder kept before the record, only its first file of a unit is the game's own.
    bool knowsWrites() const { return m_knowsWrites; }
    // Whether the bytes are what KOVEX itself last wrote into the unit file.
    bool wroteLast(const QString& unit, const QByteArray& bytes) const;
    void setWritten(const QString& unit, const QByteArray& bytes);
    // The kept file (a name in folder()) was found in its unit file now.
    void setFound(const QString& keptName);
    // The record, as it is to be written to recordPath().
    QByteArray record() const;
    QString recordPath() const { return m_folder + QLatin1Char('/') + kRecordName; }
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
    QMap<QString, QByteArray> m_written; // by unit, a hash of the bytes
    QMap<QString, QDateTime> m_found;    // by kept file's name
    bool m_knowsWrites = false;
};
