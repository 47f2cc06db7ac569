#pragma once

#include <QString>

// The one failure type of the program: a run-time error number with its German text.
class KovexError {
public:
    enum Number {
        DeviceIoError = 57,
        FileAlreadyExists = 58,
        DiskFull = 61,
        InputPastEndOfFile = 62,
        DeviceUnavailable = 68,
        PermissionDenied = 70,
        PathFileAccessError = 75,
        PathNotFound = 76,
        FileNotFound = 53,
        OutOfMemory = 7,
        BadFileName = 52,
        BadIndex = 381,
        BadFileMode = 54,
    };

    KovexError(Number number, const QString& detail = {});

    int number() const { return m_number; }
    // The German text, followed by the file or slot concerned when there is one.
    QString description() const;

private:
    static QString baseText(Number number);

    Number m_number;
    QString m_detail;
};
