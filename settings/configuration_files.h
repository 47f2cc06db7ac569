#pragma once

#include <QHash>
#include <QStringList>

// The configurations' files in configs as they are when looked at: a file "<name>.txt" for each
// (".txt" in any case), found as the apply finds it, whatever the case of the name.
class ConfigurationFiles {
public:
    explicit ConfigurationFiles(const QString& configsFolder);

    // The file of the configuration, as configs spells it; empty when there is none.
    QString fileOf(const QString& name) const;
    // The names of the files, as the files spell them, by name.
    QStringList names() const;

    // What a tool tip says of a configuration's file: where it is, its size and date, and its
    // first lines (at most 5, each cut after 80 characters); or that it is missing. The file is
    // read only here, as the file layer reads.
    QString describe(const QString& name) const;

    // The text cut after length characters, and "…" in place of the rest.
    static QString shortened(const QString& text, qsizetype length);

    static constexpr int kShownLines = 5;
    static constexpr int kShownLineLength = 80;

private:
    QString m_folder;
    QHash<QString, QString> m_files; // case-folded name → file name
};
