#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A text stream opened by FileSystemObject::OpenTextFile, its lines in the text format the
// file-system object was made with. Every failure throws KovexError.
class TextStream {
public:
    virtual ~TextStream() = default;

    // Writes the text and a line end.
    virtual void WriteLine(const QString& text) = 0;
    // Writes bytes already in the file's text format: many lines at once, without a detour
    // through each line's text.
    virtual void Write(QByteArrayView bytes) = 0;
    // The next line without its line end; reading when nothing is left is a failure.
    virtual QString ReadLine() = 0;
    virtual bool AtEndOfStream() const = 0;
    // The whole file as it lies on the disk, for a reader of the format's own; the stream is
    // then at its end.
    virtual QByteArray ReadAll() = 0;
    // Finishes the stream: a written file takes its new content only here.
    virtual void Close() = 0;
    // The file as this stream read it, or as it was left after Close (system_files.h), so that
    // a later change by someone else can be told.
    virtual QByteArray Fingerprint() const = 0;
};

// A text file is read whole into memory: one of more is refused, when read and when written.
constexpr qint64 kLargestTextFile = qint64(1) << 30;
