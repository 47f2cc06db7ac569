#pragma once

#include <QString>

// The one failure type of the program: a run-time error number with its German text.
class KovexError {
public:
    enum Number {
        OutOfMemory = 7,
        BadFileName = 52,
        FileNotFound = 53,
        DeviceIoError = 57,
        DiskFull = 61,
        DeviceUnavailable = 68,
        PermissionDenied = 70,
        PathFileAccessError = 75,
        PathNotFound = 76,
        BadIndex = 381,
    };

    KovexError(Number number, const QString& detail = {}) : m_number(number), m_detail(detail) {}

    int number() const { return m_number; }
    // The German text, followed by the file or slot concerned when there is one.
    QString description() const;

private:
    Number m_number;
    QString m_detail;
};
