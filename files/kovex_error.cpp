#include "kovex_error.h"

#include <QHash>

QString KovexError::description() const {
    static const QHash<int, QString> texts{
        {OutOfMemory, QStringLiteral("Nicht genügend Speicher")},
        {BadFileName, QStringLiteral("Dateiname oder -nummer falsch")},
        {FileNotFound, QStringLiteral("Datei nicht gefunden")},
        {DeviceIoError, QStringLiteral("Fehler beim Geräte-E/A")},
        {DiskFull, QStringLiteral("Datenträger voll")},
        {DeviceUnavailable, QStringLiteral("Gerät nicht verfügbar")},
        {PermissionDenied, QStringLiteral("Zugriff verweigert")},
        {PathFileAccessError, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")},
        {PathNotFound, QStringLiteral("Pfad nicht gefunden")},
        {BadIndex, QStringLiteral("Unzulässiger Index für Eigenschaftenfeld")},
    };
    const QString base = texts.value(m_number);
    return m_detail.isEmpty() ? base : base + QStringLiteral(": ") + m_detail;
}
