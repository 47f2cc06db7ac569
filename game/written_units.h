#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// What this program last wrote into each unit file, from which source: while neither the unit
// file nor the source changed since (their fingerprints, system_files.h), the unit holds the
// source's bytes, known without reading either again. A hundred MiB unit is then not read
// twice more after every apply only to be told apart.
class WrittenUnits {
public:
    // The one record of this run.
    static WrittenUnits& ofThisRun();

    // The unit file now holds the source's bytes; sourceBefore is the source's fingerprint
    // taken before it was read, and nothing is recorded if the source changed meanwhile.
    void record(const QString& unit, const QString& source, const QByteArray& sourceBefore);
    // The source whose bytes the unit file holds, where that is known; else nothing.
    QString sourceHeldBy(const QString& unit) const;

private:
    struct Written {
        QByteArray unitPrint;
        QString source;
        QByteArray sourcePrint;
    };
    QHash<QString, Written> m_units;
};
