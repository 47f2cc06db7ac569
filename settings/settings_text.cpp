#include "settings_text.h"

#include "files/kovex_error.h"
#include "files/text_format.h"
#include "files/text_stream.h"

#include <QDir>

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes map to
// their C1 control characters like Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Appends the Windows-1252 bytes as UTF-8, straight into the buffer.
void appendCp1252AsUtf8(QByteArray& out, QByteArrayView bytes) {
    const qsizetype at = out.size();
    out.resize(at + 3 * bytes.size()); // no character of the code page takes more
    char* dst = out.data() + at;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t u = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
        if (u < 0x80) {
            *dst++ = char(u);
        } else if (u < 0x800) {
            *dst++ = char(0xC0 | (u >> 6));
            *dst++ = char(0x80 | (u & 0x3F));
        } else {
            *dst++ = char(0xE0 | (u >> 12));
            *dst++ = char(0x80 | ((u >> 6) & 0x3F));
            *dst++ = char(0x80 | (u & 0x3F));
        }
    }
    out.resize(dst - out.constData());
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where the first byte outside ASCII is, eight bytes at a time; the size when there is none.
qsizetype asciiPrefix(QByteArrayView bytes) {
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype at = 0;
    for (quint64 word; at + 8 <= size; at += 8) {
        std::memcpy(&word, data + at, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (at < size && !(static_cast<unsigned char>(data[at]) & 0x80))
        ++at;
    return at;
}

// Qt's own verdict on the bytes, decoded in pieces into one reused buffer: a whole-file decode
// would touch twice the file's size in fresh memory. ASCII is valid as it stands, so the pieces
// start at the first byte outside it; they end before a lead byte, so no character straddles
// two of them.
bool isValidUtf8(QByteArrayView bytes) {
    constexpr qsizetype kPiece = 16 * 1024;
    static thread_local QChar buffer[kPiece + 8];
    qsizetype at = asciiPrefix(bytes);
    while (at < bytes.size()) {
        qsizetype end = qMin(at + kPiece, bytes.size());
        while (end < bytes.size() && end > at && isContinuationByte(bytes[end]))
            --end;
        if (end == at) // a run of continuation bytes longer than a piece: never valid
            return false;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        utf8.appendToBuffer(buffer, bytes.sliced(at, end - at));
        if (utf8.hasError())
            return false;
        at = end;
    }
    return true;
}

} // namespace

namespace settings_text {

void appendLine(QByteArray& out, QByteArrayView utf8, bool firstLine) {
    if (firstLine && utf8.startsWith("\xEF\xBB\xBF"))
        out.append("\xEF\xBB\xBF");
    out.append(utf8);
    out.append("\r\n", 2);
}

namespace {

// Where the next CR or LF is at or after `at`, eight bytes at a time; the size when there is
// none. A byte equal to the sought one turns to zero under XOR, and the first zero byte of a
// word is found exactly by the borrow trick (later ones may be false, which does not matter).
// Names are short: one memchr per line and per line end cost more than the scan itself.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the first byte in memory is the lowest");
qsizetype nextLineBreak(const char* data, qsizetype at, qsizetype size) {
    constexpr quint64 kOnes = 0x0101010101010101ull;
    constexpr quint64 kHighs = 0x8080808080808080ull;
    const auto zeroBytes = [](quint64 v) { return (v - kOnes) & ~v & kHighs; };
    for (quint64 word; at + 8 <= size; at += 8) {
        std::memcpy(&word, data + at, 8);
        if (const quint64 found =
                zeroBytes(word ^ (kOnes * '\n')) | zeroBytes(word ^ (kOnes * '\r')))
            return at + qCountTrailingZeroBits(found) / 8;
    }
    while (at < size && data[at] != '\n' && data[at] != '\r')
        ++at;
    return at;
}

// Where the lines lie in the bytes: CR LF, LF and a lone CR each end a line, and a last line
// without a line end counts. CR and LF are single bytes in UTF-8 and in Windows-1252 and never
// part of another character, so the lines are found on the bytes.
template <typename Visit>
void forEachLine(const char* data, qsizetype from, qsizetype size, Visit visit) {
    qsizetype start = from;
    while (start < size) {
        qsizetype end = nextLineBreak(data, start, size);
        visit(start, end - start);
        if (end + 1 < size && data[end] == '\r' && data[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

} // namespace

namespace {

// UTF-8, or Windows-1252 line by line, from the given byte on.
LineList decodeBytes(const QByteArray& bytes, qsizetype from);

} // namespace

LineList decodeLines(const QByteArray& bytes) {
    // UTF-16 with its byte-order mark, as Notepad saves "Unicode": decoded whole, then split
    // like UTF-8.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return decodeBytes(QString(utf16.decode(QByteArrayView(bytes).sliced(2))).toUtf8(), 0);
    }
    // One byte-order mark from another editor is skipped; a second one is part of the text.
    return decodeBytes(bytes, bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0);
}

namespace {

LineList decodeBytes(const QByteArray& bytes, qsizetype from) {
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    if (isValidUtf8(QByteArrayView(bytes).sliced(from))) {
        // The common case: the lines are spans of the file's own bytes, shared, not copied.
        LineList lines(bytes);
        forEachLine(data, from, size,
                    [&](qsizetype start, qsizetype length) { lines.appendSpan(start, length); });
        return lines;
    }
    // Each line on its own: one written by an older editor in Windows-1252 does not turn the
    // UTF-8 lines around it into mojibake.
    QByteArray utf8;
    utf8.reserve(size + size / 2);
    LineList lines;
    forEachLine(data, from, size, [&](qsizetype start, qsizetype length) {
        const QByteArrayView line(data + start, length);
        const qsizetype at = utf8.size();
        if (isValidUtf8(line))
            utf8.append(line);
        else
            appendCp1252AsUtf8(utf8, line);
        lines.appendSpan(at, utf8.size() - at);
    });
    lines.setBuffer(std::move(utf8));
    return lines;
}

} // namespace

namespace {

class SettingsTextFormat final : public TextFormat {
public:
    QStringList linesOf(const QByteArray& bytes) const override {
        return decodeLines(bytes).toStringList();
    }
    void appendLine(QByteArray& out, const QString& line, bool firstLine) const override {
        settings_text::appendLine(out, line.toUtf8(), firstLine);
    }
};

} // namespace

const TextFormat& format() {
    static const SettingsTextFormat settingsText;
    return settingsText;
}

void writeLines(TextStream& stream, const LineList& lines, const QString& path) {
    qint64 size = 3;
    for (qsizetype i = 0; i < lines.size() && size <= kLargestTextFile; ++i)
        size += lines.utf8At(i).size() + 2;
    if (size > kLargestTextFile)
        throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(path));
    constexpr qsizetype kPiece = 64 * 1024;
    QByteArray pending;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        appendLine(pending, lines.utf8At(i), i == 0);
        if (pending.size() >= kPiece) {
            stream.Write(pending);
            pending.clear();
        }
    }
    stream.Write(pending);
}

} // namespace settings_text
