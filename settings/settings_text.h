#pragma once

#include <QByteArray>
#include <QStringList>

// The byte form of the settings files: one value per line, CR LF after every line, UTF-8
// without a byte-order mark.
namespace settings_text {

// The lines of a whole file. One that starts with a UTF-16 byte-order mark (Notepad's "Unicode")
// reads as UTF-16. Otherwise a leading UTF-8 byte-order mark is skipped, and each line reads as
// UTF-8 where it is valid, else as Windows-1252: older files, or a line an older editor added.
// CR LF, LF and a lone CR (old Mac files) end a line; a last line without one counts.
QStringList decodeLines(const QByteArray& bytes);

// The lines as the settings files hold them. Readers drop one byte-order mark at the start of a
// file, so a first line that starts with that character gets one more and reads back whole.
QByteArray encodeLines(const QStringList& lines);

} // namespace settings_text
