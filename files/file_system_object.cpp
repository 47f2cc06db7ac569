#include "file_system_object.h"

#include "atomic_file_writer.h"
#include "file_place.h"
#include "system_files.h"
#include "text_format.h"
#include "text_stream.h"

#include <QDir>

#include <vector>

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

class ReadingTextStream final : public TextStream {
public:
    ReadingTextStream(const TextFormat& format, QByteArray bytes, QByteArray fingerprint)
        : m_format(format), m_bytes(std::move(bytes)), m_fingerprint(std::move(fingerprint)) {}

    void WriteLine(const QString&) override { throw KovexError(KovexError::BadFileMode); }
    void Write(QByteArrayView) override { throw KovexError(KovexError::BadFileMode); }
    QString ReadLine() override {
        if (AtEndOfStream())
            throw KovexError(KovexError::InputPastEndOfFile);
        return m_lines.at(m_next++);
    }
    bool AtEndOfStream() const override {
        // The lines are made only when asked for by line.
        if (!m_decoded) {
            m_lines = m_format.linesOf(m_bytes);
            m_decoded = true;
        }
        return m_next >= m_lines.size();
    }
    QByteArray ReadAll() override {
        m_decoded = true;
        m_lines.clear();
        return std::exchange(m_bytes, {});
    }
    void Close() override {}
    QByteArray Fingerprint() const override { return m_fingerprint; }

private:
    const TextFormat& m_format;
    QByteArray m_bytes;
    QByteArray m_fingerprint;
    mutable QStringList m_lines;
    mutable bool m_decoded = false;
    qsizetype m_next = 0;
};

class WritingTextStream final : public TextStream {
public:
    WritingTextStream(const TextFormat& format, const QString& path)
        : m_format(format), m_path(path), m_file(path) {}

    void WriteLine(const QString& text) override {
        QByteArray line;
        m_format.appendLine(line, text, m_written == 0);
        Write(line);
    }
    void Write(QByteArrayView bytes) override {
        // What the next start would refuse is never written.
        if (m_written + bytes.size() > kLargestTextFile)
            throw KovexError(KovexError::OutOfMemory, shown(m_path));
        m_file.write(bytes.data(), bytes.size());
        m_written += bytes.size();
    }
    QString ReadLine() override { throw KovexError(KovexError::BadFileMode); }
    bool AtEndOfStream() const override { throw KovexError(KovexError::BadFileMode); }
    QByteArray ReadAll() override { throw KovexError(KovexError::BadFileMode); }
    void Close() override {
        if (m_closed)
            return;
        m_file.commit();
        m_closed = true;
    }
    QByteArray Fingerprint() const override { return m_file.fingerprint(); }

private:
    const TextFormat& m_format;
    QString m_path;
    AtomicFileWriter m_file; // drops the new content when destroyed unclosed
    qint64 m_written = 0;
    bool m_closed = false;
};

QByteArray readWhole(SystemFile& file, const QString& path) {
    // Counted while reading too: a file's size can grow meanwhile.
    if (file.size() > kLargestTextFile)
        throw KovexError(KovexError::OutOfMemory, shown(path));
    QByteArray bytes;
    bytes.reserve(file.size() + 1);
    constexpr qint64 kChunk = qint64(1) << 20;
    for (;;) {
        const qint64 room = qMin(kChunk, kLargestTextFile + 1 - bytes.size());
        const qsizetype before = bytes.size();
        bytes.resize(before + room);
        const qint64 got = file.read(bytes.data() + before, room);
        bytes.resize(before + got);
        if (got == 0)
            return bytes;
        if (bytes.size() > kLargestTextFile)
            throw KovexError(KovexError::OutOfMemory, shown(path));
    }
}

} // namespace

std::unique_ptr<TextStream> FileSystemObject::OpenTextFile(const QString& path, IOMode mode,
                                                           bool create) {
    const FilePlace place(path);
    if (!create && place.kind() == FilePlace::Kind::Missing)
        throw KovexError(KovexError::FileNotFound, shown(path));
    if (mode == IOMode::ForWriting)
        return std::make_unique<WritingTextStream>(m_format, path);

    // A link whose target is missing gets that target created.
    if (place.kind() == FilePlace::Kind::Missing)
        system_files::createIfMissing(place);
    SystemFile file;
    file.openForReading(place);
    QByteArray bytes = readWhole(file, path);
    return std::make_unique<ReadingTextStream>(m_format, std::move(bytes), file.fingerprint());
}

namespace {

// Copies the open source into the writer, whole. The writer's own failures are the
// destination's.
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
    const FilePlace place(source);
    if (place.kind() != FilePlace::Kind::Regular)
        throw KovexError(KovexError::FileNotFound, shown(source));
    in.openForReading(place);
}

} // namespace

std::optional<KovexError> FileSystemObject::CopyToNewFile(const QString& source,
                                                          const QString& destination) {
    SystemFile in;
    openSource(in, source);
    std::unique_ptr<AtomicFileWriter> out;
    const auto written = [&](const auto& step) -> std::optional<KovexError> {
        try {
            step();
            return std::nullopt;
        } catch (const KovexError& error) {
            out.reset(); // nothing of it is left
            return error;
        }
    };
    if (auto refused = written([&] {
            if (FilePlace(destination).kind() != FilePlace::Kind::Missing)
                throw KovexError(KovexError::FileAlreadyExists, shown(destination));
            out = std::make_unique<AtomicFileWriter>(destination, &in);
        }))
        return refused;
    constexpr qint64 kChunk = 1 << 20;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), kChunk); // the source's failures throw
        if (got == 0)
            break;
        if (auto refused = written([&] { out->write(buffer.constData(), got); }))
            return refused;
    }
    return written([&] { out->commit(); });
}

void FileSystemObject::CopyFilesTogether(const QList<Copy>& copies) {
    std::vector<std::unique_ptr<AtomicFileWriter>> writers;
    for (const Copy& copy : copies) {
        SystemFile in;
        openSource(in, copy.source);
        writers.push_back(std::make_unique<AtomicFileWriter>(copy.destination, &in));
        copyInto(in, *writers.back());
        writers.back()->prepare();
    }
    for (const auto& writer : writers)
        writer->replace();
}
