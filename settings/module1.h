#pragma once

#include "line_list.h"

#include <QByteArray>
#include <QString>

class ApplicationFiles;
class FileSystemObject;
class SettingsControls;
class TextStream;

// The settings routines: Konfigs.ini holds the game folder and the configs folder, units.ini
// the known configurations. They read and fill the controls that hold the live settings.
class Module1 {
public:
    Module1(const ApplicationFiles& files, SettingsControls& controls);

    // Rewrites Konfigs.ini from the game folder.
    void WriteKonfigs();
    // Rewrites units.ini from the configuration window's names.
    void WriteUnits();
    // Reads Konfigs.ini into the folder list and units.ini into both windows' lists.
    void ReadSettings();
    // WriteKonfigs, WriteUnits, ReadSettings, holding the application folder's lock; a failure
    // stops the sequence. A settings file that someone else changed since it was read is saved
    // over only when the user says so, asked while no lock is held.
    void SaveSettings();

    const ApplicationFiles& files() const { return m_files; }

private:
    void applyStoredGameFolder(TextStream& konfigs);
    LineList readNames(FileSystemObject& fso);
    void refuseUnreadFile(bool read, const QString& path) const;
    // Whether the file changed on disk since this program last read or wrote it, into a state
    // the user has not allowed to be saved over.
    bool changedUnasked(const QString& path, const QByteArray& seen,
                        const QByteArray& allowed) const;

    const ApplicationFiles& m_files;
    SettingsControls& m_controls;
    // Whether each settings file was read in this run; one that was not is never overwritten.
    bool m_konfigsRead = false;
    bool m_unitsRead = false;
    // Each settings file as this program last read or wrote it (system_files::fingerprint).
    QByteArray m_konfigsSeen;
    QByteArray m_unitsSeen;
};
