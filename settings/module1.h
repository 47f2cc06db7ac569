#pragma once

#include "file_system_object.h"
#include "line_list.h"

#include <QString>
#include <memory>

class SettingsControls;
class TextStream;

// The settings routines: Konfigs.ini holds the game folder and the configs folder, units.ini
// the known configurations. They read and fill the controls that hold the live settings.
class Module1 {
public:
    Module1(const QString& appFolder, SettingsControls& controls);
    ~Module1();

    // Rewrites Konfigs.ini from the game folder.
    void WriteKonfigs();
    // Rewrites units.ini from the configuration window's names.
    void WriteUnits();
    // Reads Konfigs.ini into the folder list and units.ini into both windows' lists.
    void ReadSettings();
    // WriteKonfigs, WriteUnits, ReadSettings, holding the application folder's lock; a failure
    // stops the sequence. A settings file that someone else changed since it was read is saved
    // over only when the user says so.
    void SaveSettings();

    // The folder of the executable; settings and configurations live beside it.
    const QString& appFolder() const { return m_appFolder; }
    QString konfigsPath() const;
    QString unitsPath() const;
    // Where the configurations lie; the one place that names it.
    static QString configsFolder(const QString& appFolder);

    // Each routine that works on files makes its own file-system object from this.
    std::unique_ptr<FileSystemObject> createFileSystemObject() const;
    // Replaces the file layer, for example to inject failures; an empty one restores it.
    void setFileSystemFactory(FileSystemFactory factory);

private:
    void applyStoredGameFolder(TextStream& konfigs);
    LineList readNames(FileSystemObject& fso);
    void refuseUnreadFile(bool read, const QString& path) const;
    // False when the file changed on disk since this program last read or wrote it and the
    // user chose not to save over that change.
    bool mayReplace(const QString& path, const QByteArray& seen);

    QString m_appFolder;
    SettingsControls& m_controls;
    FileSystemFactory m_fileSystemFactory;
    // Whether each settings file was read in this run; one that was not is never overwritten.
    bool m_konfigsRead = false;
    bool m_unitsRead = false;
    // Each settings file as this program last read or wrote it (system_files::fingerprint).
    QByteArray m_konfigsSeen;
    QByteArray m_unitsSeen;
};
