#include "settings_text.h"

#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes map to their
// control characters, as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeLine(QByteArrayView bytes) {
    // Unlike QString::fromUtf8, keeps a byte-order mark at the start: it is part of the name.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<uchar>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte);
    }
    return text;
}

} // namespace

namespace settings_text {

QStringList decodeLines(const QByteArray& file) {
    QByteArray bytes = file;
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (file.startsWith("\xFF\xFE") || file.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(file.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        bytes = QString(utf16.decode(QByteArrayView(file).sliced(2))).toUtf8();
        at = 0;
    }
    QStringList lines;
    while (at < bytes.size()) {
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        lines << decodeLine(QByteArrayView(bytes).sliced(at, end - at));
        const bool crlf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
        at = end + (crlf ? 2 : 1);
    }
    return lines;
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray bytes;
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        bytes = "\xEF\xBB\xBF";
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

} // namespace settings_text
