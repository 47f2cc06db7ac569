#include "file_system_object.h"

#include "atomic_file_writer.h"
#include "file_checks.h"
#include "kovex_error.h"
#include "settings_text.h"
#include "system_files.h"
#include "text_stream.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace {

// A settings file of more is no settings file: reading on would only exhaust memory, and a
// save never writes what the next start would refuse.
constexpr qint64 kLargestSettingsFile = qint64(1) << 30;

class ReadingTextStream final : public TextStream {
public:
    ReadingTextStream(LineList lines, QByteArray fingerprint)
        : m_lines(std::move(lines)), m_fingerprint(std::move(fingerprint)) {}

    void WriteLine(const QString&) override { throw KovexError(KovexError::BadFileMode); }
    void WriteLines(const LineList&) override { throw KovexError(KovexError::BadFileMode); }
    QString ReadLine() override {
        if (m_next >= m_lines.size())
            throw KovexError(KovexError::InputPastEndOfFile);
        return m_lines.at(m_next++);
    }
    bool AtEndOfStream() const override { return m_next >= m_lines.size(); }
    LineList ReadRemainingLines() override {
        LineList rest;
        if (m_next == 0)
            rest = m_lines;
        else
            for (qsizetype i = m_next; i < m_lines.size(); ++i)
                rest.append(m_lines.at(i));
        m_next = m_lines.size();
        return rest;
    }
    void Close() override {}
    QByteArray Fingerprint() const override { return m_fingerprint; }

private:
    LineList m_lines;
    QByteArray m_fingerprint;
    qsizetype m_next = 0;
};

class WritingTextStream final : public TextStream {
public:
    explicit WritingTextStream(const QString& path) : m_path(path), m_file(path) {}

    void WriteLine(const QString& text) override {
        settings_text::appendLine(m_pending, text.toUtf8(), m_lines++ == 0);
        if (m_pending.size() >= kChunk)
            writePending();
    }
    void WriteLines(const LineList& lines) override {
        // What the next start would refuse is refused before a byte of it is written.
        qint64 size = m_written + m_pending.size() + 3;
        for (qsizetype i = 0; i < lines.size() && size <= kLargestSettingsFile; ++i)
            size += lines.utf8At(i).size() + 2;
        if (size > kLargestSettingsFile)
            throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(m_path));
        // The names' own UTF-8, copied without a detour through each name's text.
        for (qsizetype i = 0; i < lines.size(); ++i) {
            settings_text::appendLine(m_pending, lines.utf8At(i), m_lines++ == 0);
            if (m_pending.size() >= kChunk)
                writePending();
        }
    }
    QString ReadLine() override { throw KovexError(KovexError::BadFileMode); }
    bool AtEndOfStream() const override { throw KovexError(KovexError::BadFileMode); }
    LineList ReadRemainingLines() override { throw KovexError(KovexError::BadFileMode); }
    void Close() override {
        if (m_closed)
            return;
        writePending();
        m_file.commit();
        m_closed = true;
    }
    QByteArray Fingerprint() const override { return m_file.fingerprint(); }

private:
    static constexpr qsizetype kChunk = 64 * 1024;
    void writePending() {
        m_written += m_pending.size();
        if (m_written > kLargestSettingsFile)
            throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(m_path));
        m_file.write(m_pending);
        m_pending.clear();
    }

    QString m_path;
    AtomicFileWriter m_file; // drops the new content when destroyed unclosed
    QByteArray m_pending;
    qint64 m_written = 0;
    qsizetype m_lines = 0;
    bool m_closed = false;
};

void createEmptyIfMissing(const QString& path) {
    if (QFileInfo::exists(path))
        return;
    // A link whose target is missing gets that target created.
    if (!QFileInfo(file_checks::resolveLinks(path)).absoluteDir().exists())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path));
    system_files::createIfMissing(path);
}

} // namespace

std::unique_ptr<TextStream> FileSystemObject::OpenTextFile(const QString& path, IOMode mode,
                                                           bool create) {
    file_checks::refuseForeignLinks(path);
    if (!create && !QFileInfo::exists(path))
        throw KovexError(KovexError::FileNotFound, QDir::toNativeSeparators(path));
    if (mode == IOMode::ForWriting)
        return std::make_unique<WritingTextStream>(path);

    createEmptyIfMissing(path);
    SystemFile file;
    file.openRegularForReading(path);
    // Counted while reading too: a file's size can grow meanwhile.
    if (file.size() > kLargestSettingsFile)
        throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(path));
    QByteArray bytes;
    bytes.reserve(file.size() + 1);
    constexpr qint64 kChunk = qint64(1) << 20;
    for (;;) {
        const qint64 room = qMin(kChunk, kLargestSettingsFile + 1 - bytes.size());
        const qsizetype before = bytes.size();
        bytes.resize(before + room);
        const qint64 got = file.read(bytes.data() + before, room);
        bytes.resize(before + got);
        if (got == 0)
            break;
        if (bytes.size() > kLargestSettingsFile)
            throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(path));
    }
    return std::make_unique<ReadingTextStream>(settings_text::decodeLines(bytes),
                                               file.fingerprint());
}

namespace {

// Copies the open source into the writer, whole.
void copyInto(SystemFile& in, AtomicFileWriter& out) {
    constexpr qint64 kChunk = 1 << 20;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), kChunk);
        if (got == 0)
            break;
        out.write(buffer.constData(), got);
    }
}

void openSource(SystemFile& in, const QString& source) {
    file_checks::refuseForeignLinks(source);
    if (!QFileInfo(source).isFile())
        throw KovexError(KovexError::FileNotFound, QDir::toNativeSeparators(source));
    in.openRegularForReading(source);
}

} // namespace

void FileSystemObject::CopyFile(const QString& source, const QString& destination, bool overwrite) {
    file_checks::refuseForeignLinks(destination);
    if (!overwrite && QFileInfo::exists(destination))
        throw KovexError(KovexError::FileAlreadyExists, QDir::toNativeSeparators(destination));
    SystemFile in;
    openSource(in, source);
    AtomicFileWriter out(destination, source);
    copyInto(in, out);
    out.commit();
}

void FileSystemObject::CopyFilesTogether(const QList<Copy>& copies) {
    std::vector<std::unique_ptr<AtomicFileWriter>> writers;
    for (const Copy& copy : copies) {
        file_checks::refuseForeignLinks(copy.destination);
        SystemFile in;
        openSource(in, copy.source);
        writers.push_back(std::make_unique<AtomicFileWriter>(copy.destination, copy.source));
        copyInto(in, *writers.back());
        writers.back()->prepare();
    }
    for (const auto& writer : writers)
        writer->replace();
}
