#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class TextStream;

enum class IOMode { ForReading = 1, ForWriting = 2 };

// The program's file layer. Every failure throws KovexError.
//
// Writing never touches the old file until the stream is closed (see AtomicFileWriter): a
// failure or a crash at any point leaves the old file whole.
class FileSystemObject {
public:
    virtual ~FileSystemObject() = default;

    // ForReading: reads from the start; with create, a missing file is first created empty.
    // ForWriting: replaces the whole content at Close; with create, a missing file is made.
    virtual std::unique_ptr<TextStream> OpenTextFile(const QString& path, IOMode mode, bool create);

    // The destination holds the source's bytes afterwards, or is left as it was. A destination
    // that exists keeps its permissions; a new one allows at most what the source allows.
    // Without overwrite, an existing destination is a failure.
    virtual void CopyFile(const QString& source, const QString& destination, bool overwrite);

    struct Copy {
        QString source;
        QString destination;
    };
    // Every destination holds its source's bytes afterwards, or every one is left as it was,
    // short of a failure of the replacing step itself: all sources are read, and all new files
    // written whole and synced, before the first replaces its destination. A source that is one
    // of the destinations is read before either changes.
    virtual void CopyFilesTogether(const QList<Copy>& copies);
};

// Makes the file layer for each routine that works on files; tests give one that injects
// failures.
using FileSystemFactory = std::function<std::unique_ptr<FileSystemObject>()>;
