#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What every suite needs of files, with Qt Core alone: the suites below the windows link no
// more.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// The entries of a folder, hidden ones too, by name.
QStringList filesIn(const QString& folder);
// A path as the program writes and shows it: with the platform's separators.
QString native(const QString& path);
// The bytes of a settings file holding these lines.
QByteArray crlfLines(const QStringList& lines);

// The game's own unit files, as a fresh installation has them.
extern const QByteArray kOriginalWarhammer;
extern const QByteArray kOriginalMarauder;

// Where the game's own units are kept, in the game folder.
inline QString keptFolderOf(const QString& gameFolder) {
    return gameFolder + "/KOVEX-Originale";
}
// Makes a game folder with the game's own units; its clean path.
QString makeGame(const QString& folder);

// A game folder with the game's own units, and an application folder with the configurations
// Atlas and Locust and settings naming them.
struct Installation {
    Installation(const QString& appFolder, const QString& gameFolder);
    QString unit(const QString& name) const { return game + "/Mechdata/" + name + ".txt"; }
    QString config(const QString& name) const { return app + "/configs/" + name + ".txt"; }
    // Every file of both folders, Mechdata and configs.
    QStringList files() const;
    void expectUntouched() const;

    QString app;
    QString game;
};
