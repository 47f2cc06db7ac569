#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "line_list.h"

// Byte form of the settings files: one value per line, CR LF after every line, no byte-order mark.
namespace settings_text {

// UTF-8 bytes of one line, line end included.
QByteArray encodeLine(const QString& text);

// Lines of a whole file. Each line that is valid UTF-8 reads as UTF-8, any other as
// Windows-1252 (older files, or a line added by an older editor);
// a leading UTF-8 byte-order mark is skipped; CR LF, LF and a lone CR (old Mac files) end a
// line; a last line without a line end counts.
LineList decodeLines(const QByteArray& bytes);

} // namespace settings_text
