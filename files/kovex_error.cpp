#include "kovex_error.h"

KovexError::KovexError(Number number, const QString& detail) : m_number(number), m_detail(detail) {}

QString KovexError::baseText(Number number) {
    switch (number) {
    case OutOfMemory:
        return QStringLiteral("Nicht genügend Speicher");
    case BadIndex:
        return QStringLiteral("Unzulässiger Index für Eigenschaftenfeld");
    case BadFileName:
        return QStringLiteral("Dateiname oder -nummer falsch");
    case BadFileMode:
        return QStringLiteral("Falscher Dateimodus");
    case FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case DeviceIoError:
        return QStringLiteral("Fehler beim Geräte-E/A");
    case FileAlreadyExists:
        return QStringLiteral("Datei existiert bereits");
    case DiskFull:
        return QStringLiteral("Datenträger voll");
    case InputPastEndOfFile:
        return QStringLiteral("Einlesen hinter Dateiende");
    case DeviceUnavailable:
        return QStringLiteral("Gerät nicht verfügbar");
    case PermissionDenied:
        return QStringLiteral("Zugriff verweigert");
    case PathFileAccessError:
        return QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    case PathNotFound:
        return QStringLiteral("Pfad nicht gefunden");
    }
    return QStringLiteral("Anwendungs- oder objektdefinierter Fehler");
}

QString KovexError::description() const {
    const QString base = baseText(m_number);
    return m_detail.isEmpty() ? base : base + QStringLiteral(": ") + m_detail;
}
