#pragma once

#include "line_list.h"
#include <QString>

class KovexApp;
class FileSystemObject;
class TextStream;

// The settings routines: Konfigs.ini holds the game folder and the configs folder, units.ini
// the known configurations. They read and write the configuration window's controls, which
// hold the live settings.
class Module1 {
public:
    explicit Module1(KovexApp& app);

    // Rewrites Konfigs.ini from the configuration window's directory list.
    void WriteKonfigs();
    // Rewrites units.ini from the configuration window's list.
    void WriteUnits();
    // Reads Konfigs.ini into the directory list and units.ini into both windows' lists.
    void ReadSettings();
    // WriteKonfigs, WriteUnits, ReadSettings; a failure stops the sequence.
    void SaveSettings();

    QString konfigsPath() const;
    QString unitsPath() const;
    QString configsFolder() const;

private:
    void applyStoredGameFolder(TextStream& konfigs);
    LineList readNames(FileSystemObject& fso);

    KovexApp& m_app;
};
