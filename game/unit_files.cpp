#include "unit_files.h"

#include "files/file_checks.h"

namespace unit_files {

QString mechdataOf(const QString& gameFolder) {
    return file_checks::spelledAsFound(gameFolder, QStringLiteral("Mechdata"));
}

QString unitFile(const QString& mechdata, const QString& unit) {
    return file_checks::spelledAsFound(mechdata, unit + QStringLiteral(".txt"));
}

} // namespace unit_files
