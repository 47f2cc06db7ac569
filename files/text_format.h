#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the lines of a text file are kept as bytes. The file layer reads and writes whole files;
// the layer whose files they are says how their lines look (the settings store's is
// settings_text).
class TextFormat {
public:
    virtual ~TextFormat() = default;

    // The lines of a whole file, without their line ends.
    virtual QStringList linesOf(const QByteArray& bytes) const = 0;
    // Appends the line and its line end; firstLine for a file's first.
    virtual void appendLine(QByteArray& out, const QString& line, bool firstLine) const = 0;
};
