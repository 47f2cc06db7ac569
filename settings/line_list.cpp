#include "line_list.h"

QStringView LineList::view(qsizetype index) const {
    const Span& span = m_spans.at(index);
    return QStringView(m_text).sliced(span.start, span.length);
}

void LineList::append(QStringView line) {
    m_spans.append({m_text.size(), line.size()});
    m_text.append(line);
}

void LineList::append(const LineList& other) {
    if (isEmpty()) {
        *this = other;
        return;
    }
    for (qsizetype i = 0; i < other.size(); ++i)
        append(other.view(i));
}

void LineList::removeAt(qsizetype index) {
    m_spans.removeAt(index);
    if (m_spans.isEmpty())
        m_text.clear(); // nothing refers to the buffer any more
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

bool operator==(const LineList& a, const LineList& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.view(i) != b.view(i))
            return false;
    return true;
}
