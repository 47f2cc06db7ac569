#include "settings_text.h"

#include <QStringDecoder>

#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes map to
// their C1 control characters like Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *dst++ = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

// Index of the first CR or LF at or after from, or size. Looks at four characters per step:
// names are short, so a call per line must be cheap.
qsizetype nextLineBreak(const char16_t* chars, qsizetype from, qsizetype size) {
    constexpr quint64 kOnes = 0x0001000100010001ULL;
    constexpr quint64 kHigh = 0x8000800080008000ULL;
    qsizetype i = from;
    for (; i + 4 <= size; i += 4) {
        quint64 word;
        std::memcpy(&word, chars + i, sizeof word);
        const quint64 lf = word ^ (kOnes * u'\n');
        const quint64 cr = word ^ (kOnes * u'\r');
        if (((lf - kOnes) & ~lf & kHigh) | ((cr - kOnes) & ~cr & kHigh))
            break;
    }
    while (i < size && chars[i] != u'\n' && chars[i] != u'\r')
        ++i;
    return i;
}

QString decodeText(QByteArrayView bytes) {
    // The one byte-order mark to skip is already gone; a second one is part of the text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

} // namespace

namespace settings_text {

QByteArray encodeLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.append("\r\n", 2);
    return bytes;
}

LineList decodeLines(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    LineList lines(decodeText(view));
    const QStringView all = lines.text();
    const char16_t* chars = all.utf16();
    const qsizetype size = all.size();
    qsizetype start = 0;
    while (start < size) {
        // CR LF, LF and a lone CR each end a line.
        qsizetype end = nextLineBreak(chars, start, size);
        lines.appendSpan(start, end - start);
        if (end + 1 < size && chars[end] == u'\r' && chars[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace settings_text
