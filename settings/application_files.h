#pragma once

#include <QString>

// The application folder, the folder of the executable, and where the program's files lie in
// it: the settings files, and the configurations in configs.
class ApplicationFiles {
public:
    explicit ApplicationFiles(const QString& folder) : m_folder(folder) {}

    const QString& folder() const { return m_folder; }
    QString konfigsPath() const { return m_folder + QStringLiteral("/Konfigs.ini"); }
    QString unitsPath() const { return m_folder + QStringLiteral("/units.ini"); }
    // Where the configurations lie; the one place that names it.
    QString configsFolder() const { return m_folder + QStringLiteral("/configs"); }
    // Makes configs when it is not there: only when a file first needs it.
    void createConfigsFolder() const;

    // What tells a file's present state from an earlier one: its size and times; empty where
    // there is no file. Taken without opening it, so that it never stands in the way of a
    // replace, to tell whether someone else changed the file since.
    static QByteArray stamp(const QString& path);

private:
    QString m_folder;
};
