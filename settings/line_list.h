#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Lines of text kept as UTF-8 in one buffer with their spans. A hundred thousand names cost a
// few allocations, not a hundred thousand, and half the memory of UTF-16: the buffer is often
// the settings file's own bytes. Copies share the buffer until one of them changes.
class LineList {
public:
    LineList() = default;
    // Takes valid UTF-8 whole; appendSpan then records where its lines lie.
    explicit LineList(QByteArray utf8) : m_utf8(std::move(utf8)) {}
    void appendSpan(qsizetype start, qsizetype length) {
        m_spans.emplaceBack(Span{quint32(start), quint32(length)});
    }
    void reserve(qsizetype lines) { m_spans.reserve(lines); }
    // The buffer that the spans appended so far lie in, once it is complete.
    void setBuffer(QByteArray utf8) { m_utf8 = std::move(utf8); }

    qsizetype size() const { return m_spans.size(); }
    bool isEmpty() const { return m_spans.isEmpty(); }
    QString at(qsizetype index) const;
    // The line, cut after about maxLength characters when it is longer.
    QString head(qsizetype index, qsizetype maxLength) const;
    QByteArrayView utf8At(qsizetype index) const;

    void append(const QString& line);
    void append(const LineList& other);
    void removeAt(qsizetype index);

    QStringList toStringList() const;
    static LineList fromStringList(const QStringList& lines);

private:
    // Eight bytes a line: buffers stay far below 4 GiB, since settings files over 1 GiB are
    // refused when opened.
    struct Span {
        quint32 start;
        quint32 length;
    };
    QByteArray m_utf8;
    QList<Span> m_spans;
};
