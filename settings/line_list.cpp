#include "line_list.h"

#include <QStringDecoder>

namespace {

// Unlike QString::fromUtf8, keeps a byte-order mark at the start: it is part of the name.
QString fromUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

} // namespace

QByteArrayView LineList::utf8At(qsizetype index) const {
    const Span& span = m_spans.at(index);
    return QByteArrayView(m_utf8).sliced(span.start, span.length);
}

QString LineList::at(qsizetype index) const {
    return fromUtf8(utf8At(index));
}

QString LineList::head(qsizetype index, qsizetype maxLength) const {
    const QByteArrayView bytes = utf8At(index);
    if (bytes.size() <= maxLength)
        return fromUtf8(bytes);
    // A character takes at most four bytes; a sequence cut at the end decodes to one
    // replacement character, which left() then drops.
    QString text = fromUtf8(bytes.first(qMin(bytes.size(), 4 * maxLength)));
    if (text.size() <= maxLength)
        return text;
    text.truncate(maxLength);
    return text;
}

void LineList::append(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    m_spans.append({quint32(m_utf8.size()), quint32(bytes.size())});
    m_utf8.append(bytes);
}

void LineList::append(const LineList& other) {
    if (isEmpty()) {
        *this = other;
        return;
    }
    for (qsizetype i = 0; i < other.size(); ++i) {
        const QByteArrayView bytes = other.utf8At(i);
        m_spans.append({quint32(m_utf8.size()), quint32(bytes.size())});
        m_utf8.append(bytes);
    }
}

void LineList::removeAt(qsizetype index) {
    m_spans.removeAt(index);
    if (m_spans.isEmpty())
        m_utf8.clear(); // nothing refers to the buffer any more
}

QStringList LineList::toStringList() const {
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append(at(i));
    return lines;
}

LineList LineList::fromStringList(const QStringList& lines) {
    LineList list;
    for (const QString& line : lines)
        list.append(line);
    return list;
}
