#pragma once

#include <QString>

#include "line_list.h"

// A text stream opened by FileSystemObject::OpenTextFile. Every failure throws KovexError.
class TextStream {
public:
    virtual ~TextStream() = default;

    // Writes the text and a line end.
    virtual void WriteLine(const QString& text) = 0;
    // Writes each line and a line end, as WriteLine does one by one.
    virtual void WriteLines(const LineList& lines) = 0;
    // The next line without its line end; reading when nothing is left is a failure.
    virtual QString ReadLine() = 0;
    virtual bool AtEndOfStream() const = 0;
    // Every line not yet read; the stream is then at its end.
    virtual LineList ReadRemainingLines() = 0;
    // Finishes the stream: a written file takes its new content only here.
    virtual void Close() = 0;
    // The file as this stream read it, or as it was left after Close (system_files.h), so that
    // a later change by someone else can be told.
    virtual QByteArray Fingerprint() const = 0;
};
