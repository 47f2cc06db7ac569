#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

class ApplicationFiles;
class SettingsControls;

// The settings routines: Konfigs.ini holds the game folder and the configs folder, units.ini
// the known configurations. They read and fill the controls that hold the live settings; below
// them the files are read and written whole, as plain values.
class Module1 {
public:
    Module1(const ApplicationFiles& files, SettingsControls& controls);

    // Rewrites Konfigs.ini from the game folder.
    void WriteKonfigs();
    // Rewrites units.ini from the configuration window's names.
    void WriteUnits();
    // Reads Konfigs.ini into the folder list and units.ini into both windows' lists, creating
    // each empty where it is missing.
    void ReadSettings();
    // WriteKonfigs, WriteUnits, ReadSettings, holding the application folder's lock; a failure
    // stops the sequence. A settings file that someone else changed since it was read is saved
    // over only when the user says so, asked while no lock is held.
    void SaveSettings();

    const ApplicationFiles& files() const { return m_files; }

    // The lists hold the first names of units.ini, no more; the others stay in the file.
    static constexpr qsizetype kListedNames = 1000;

private:
    // Whether the file changed since this program last read or wrote it, into a state the user
    // has not allowed to be saved over.
    bool changedUnasked(const QString& path, const QByteArray& seen,
                        const QByteArray& allowed) const;

    const ApplicationFiles& m_files;
    SettingsControls& m_controls;
    // Each settings file's stamp as this program last read or wrote it; none where it was not
    // read in this run: its content is not in the lists, and it is never written over.
    std::optional<QByteArray> m_konfigsSeen;
    std::optional<QByteArray> m_unitsSeen;
    // The names of units.ini past those the lists hold, written back after them.
    QStringList m_unlisted;
};
