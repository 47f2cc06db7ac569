#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Lines of text kept in one buffer with their spans: a hundred thousand names cost a few
// allocations, not a hundred thousand. Copies share the buffer until one of them changes.
class LineList {
public:
    qsizetype size() const { return m_spans.size(); }
    bool isEmpty() const { return m_spans.isEmpty(); }
    QStringView view(qsizetype index) const;
    QString at(qsizetype index) const { return view(index).toString(); }

    void append(QStringView line);
    void append(const LineList& other);
    void removeAt(qsizetype index);

    QStringList toStringList() const;
    static LineList fromStringList(const QStringList& lines);

    // Takes the text whole and records where its lines lie; the spans must lie inside it.
    LineList() = default;
    explicit LineList(QString text) : m_text(std::move(text)) {}
    void appendSpan(qsizetype start, qsizetype length) { m_spans.append({start, length}); }
    QStringView text() const { return m_text; }

    friend bool operator==(const LineList& a, const LineList& b);

private:
    struct Span {
        qsizetype start;
        qsizetype length;
    };
    QString m_text;
    QList<Span> m_spans;
};
