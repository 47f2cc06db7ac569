#include "written_units.h"

#include "files/system_files.h"

WrittenUnits& WrittenUnits::ofThisRun() {
    static WrittenUnits written;
    return written;
}

void WrittenUnits::record(const QString& unit, const QString& source,
                          const QByteArray& sourceBefore) {
    const QByteArray unitPrint = system_files::fingerprint(unit);
    if (unitPrint.isEmpty() || sourceBefore.isEmpty() ||
        system_files::fingerprint(source) != sourceBefore) {
        m_units.remove(unit);
        return;
    }
    m_units.insert(unit, {unitPrint, source, sourceBefore});
}

QString WrittenUnits::sourceHeldBy(const QString& unit) const {
    const auto written = m_units.constFind(unit);
    if (written == m_units.constEnd() || system_files::fingerprint(unit) != written->unitPrint ||
        system_files::fingerprint(written->source) != written->sourcePrint)
        return {};
    return written->source;
}
