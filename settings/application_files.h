#pragma once

#include "files/file_system_object.h"

#include <QString>
#include <functional>
#include <memory>

// Makes the file layer for each routine that works on files; tests give one that injects
// failures.
using FileSystemFactory = std::function<std::unique_ptr<FileSystemObject>()>;

// The application folder, the folder of the executable, and where the program's files lie in
// it: the settings files and the configurations in configs. Every routine that works on them
// makes its own file layer here, reading and writing the settings files' text format.
class ApplicationFiles {
public:
    explicit ApplicationFiles(const QString& folder) : m_folder(folder) {}

    const QString& folder() const { return m_folder; }
    QString konfigsPath() const { return m_folder + QStringLiteral("/Konfigs.ini"); }
    QString unitsPath() const { return m_folder + QStringLiteral("/units.ini"); }
    // Where the configurations lie; the one place that names it.
    QString configsFolder() const { return m_folder + QStringLiteral("/configs"); }
    // Makes configs when it is not there: only when a file first needs it. One that cannot be
    // made throws (KovexError 70, naming it).
    void createConfigsFolder() const;

    std::unique_ptr<FileSystemObject> createFileSystemObject() const;
    // Replaces the file layer, for example to inject failures; an empty one restores it.
    void setFileSystemFactory(FileSystemFactory factory) { m_factory = std::move(factory); }

private:
    QString m_folder;
    FileSystemFactory m_factory;
};
