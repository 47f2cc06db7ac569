#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "line_list.h"

class TextFormat;
class TextStream;

// Byte form of the settings files: one value per line, CR LF after every line, no byte-order mark.
namespace settings_text {

// Appends one line of UTF-8 and its line end. Readers drop one byte-order mark at the start of
// a file, so a first line that starts with that character gets one more and reads back whole.
void appendLine(QByteArray& out, QByteArrayView utf8, bool firstLine);

// Lines of a whole file. A file that starts with a UTF-16 byte-order mark (Notepad's
// "Unicode") reads as UTF-16; otherwise each line that is valid UTF-8 reads as UTF-8, any
// other as Windows-1252 (older files, or a line added by an older editor), and a leading UTF-8
// byte-order mark is skipped. CR LF, LF and a lone CR (old Mac files) end a line; a last line
// without a line end counts.
LineList decodeLines(const QByteArray& bytes);

// The format as the file layer's text streams take it (files/text_format.h).
const TextFormat& format();

// Writes the lines, each with its line end, into the stream, a piece at a time, from their own
// UTF-8. A file the next start would refuse (over kLargestTextFile) is refused before a byte of
// it is written (KovexError 7, naming the path).
void writeLines(TextStream& stream, const LineList& lines, const QString& path);

} // namespace settings_text
