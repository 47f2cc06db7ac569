#pragma once

#include "kovex_error.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class TextFormat;
class TextStream;

enum class IOMode { ForReading = 1, ForWriting = 2 };

// The program's file layer. Every failure throws KovexError.
//
// Writing never touches the old file until the stream is closed (see AtomicFileWriter): a
// failure or a crash at any point leaves the old file whole.
class FileSystemObject {
public:
    // Text files are read and written in the given format.
    explicit FileSystemObject(const TextFormat& format) : m_format(format) {}
    virtual ~FileSystemObject() = default;

    // ForReading: reads from the start; with create, a missing file is first created empty.
    // ForWriting: replaces the whole content at Close; with create, a missing file is made.
    virtual std::unique_ptr<TextStream> OpenTextFile(const QString& path, IOMode mode, bool create);

    // The destination, which must not be there yet, gets the source's bytes and allows no more
    // than the source. The two sides fail apart: a source that cannot be read throws, before
    // the destination is touched or while it is written; a destination that cannot be written
    // is given back, and nothing of it is left.
    virtual std::optional<KovexError> CopyToNewFile(const QString& source,
                                                    const QString& destination);

    struct Copy {
        QString source;
        QString destination;
    };
    // Every destination holds its source's bytes afterwards, or every one is left as it was,
    // short of a failure of the replacing step itself: all sources are read, and all new files
    // written whole and synced, before the first replaces its destination. A source that is one
    // of the destinations is read before either changes. A destination that exists keeps its
    // permissions; a new one allows at most what its source allows.
    virtual void CopyFilesTogether(const QList<Copy>& copies);

private:
    const TextFormat& m_format;
};
