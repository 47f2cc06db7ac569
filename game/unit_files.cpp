#include "unit_files.h"

#include "files/kovex_error.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace unit_files {

QString spelledAsFound(const QString& folder, const QString& name) {
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    QStringList matches;
    // Unsorted and unlisted: a folder of thousands is looked through in a few milliseconds.
    for (QDirIterator entries(folder, QDir::AllEntries | QDir::System | QDir::Hidden |
                                          QDir::NoDotAndDotDot);
         entries.hasNext();)
        if (const QString entry = QFileInfo(entries.next()).fileName();
            entry.compare(name, Qt::CaseInsensitive) == 0)
            matches << entry;
    matches.sort();
    if (matches.size() > 1)
        throw KovexError(
            KovexError::PathFileAccessError,
            QStringLiteral("%1 (mehrdeutig: %2)")
                .arg(QDir::toNativeSeparators(exact), matches.join(QStringLiteral(", "))));
    return matches.isEmpty() ? exact : folder + QLatin1Char('/') + matches.first();
}

QString mechdataOf(const QString& gameFolder) {
    return spelledAsFound(gameFolder, QStringLiteral("Mechdata"));
}

QString unitFile(const QString& mechdata, const QString& unit) {
    return spelledAsFound(mechdata, unit + QStringLiteral(".txt"));
}

} // namespace unit_files
