#include "file_system_object.h"

#include "atomic_file_writer.h"
#include "file_checks.h"
#include "kovex_error.h"
#include "settings_text.h"
#include "system_files.h"
#include "text_stream.h"

#include <QDir>
#include <QFileInfo>

namespace {

class ReadingTextStream final : public TextStream {
public:
    explicit ReadingTextStream(LineList lines) : m_lines(std::move(lines)) {}

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

private:
    LineList m_lines;
    qsizetype m_next = 0;
};

class WritingTextStream final : public TextStream {
public:
    explicit WritingTextStream(const QString& path) : m_file(path) {}

    void WriteLine(const QString& text) override {
        settings_text::appendLine(m_pending, text.toUtf8(), m_lines++ == 0);
        if (m_pending.size() >= kChunk)
            writePending();
    }
    void WriteLines(const LineList& lines) override {
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

private:
    static constexpr qsizetype kChunk = 64 * 1024;
    void writePending() {
        m_file.write(m_pending);
        m_pending.clear();
    }

    AtomicFileWriter m_file; // drops the new content when destroyed unclosed
    QByteArray m_pending;
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
    if (!create && !QFileInfo::exists(path))
        throw KovexError(KovexError::FileNotFound, QDir::toNativeSeparators(path));
    if (mode == IOMode::ForWriting)
        return std::make_unique<WritingTextStream>(path);

    createEmptyIfMissing(path);
    SystemFile file;
    file.openRegularForReading(path);
    // A settings file of this size is no settings file; reading on would only exhaust memory.
    // Counted while reading: a file's size can grow meanwhile.
    constexpr qint64 kLargestSettingsFile = qint64(1) << 30;
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
    return std::make_unique<ReadingTextStream>(settings_text::decodeLines(bytes));
}

void FileSystemObject::CopyFile(const QString& source, const QString& destination, bool overwrite) {
    if (!QFileInfo(source).isFile())
        throw KovexError(KovexError::FileNotFound, QDir::toNativeSeparators(source));
    if (!overwrite && QFileInfo::exists(destination))
        throw KovexError(KovexError::FileAlreadyExists, QDir::toNativeSeparators(destination));

    SystemFile in;
    in.openRegularForReading(source);
    AtomicFileWriter out(destination);
    constexpr qint64 kChunk = 1 << 20;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), kChunk);
        if (got == 0)
            break;
        out.write(buffer.constData(), got);
    }
    out.commit();
}
