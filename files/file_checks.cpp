#include "file_checks.h"

#include "file_place.h"
#include "kovex_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace file_checks {

bool isRegularOrMissing(const QString& path) {
    const FilePlace::Kind kind = FilePlace(path).kind();
    return kind == FilePlace::Kind::Regular || kind == FilePlace::Kind::Missing;
}

QString spelledAsFound(const QString& folder, const QString& name) {
    const QString exact = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    QStringList matches;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::System |
                                                       QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches << entry;
    if (matches.size() > 1)
        throw KovexError(
            KovexError::PathFileAccessError,
            QStringLiteral("%1 (mehrdeutig: %2)")
                .arg(QDir::toNativeSeparators(exact), matches.join(QStringLiteral(", "))));
    return matches.isEmpty() ? exact : folder + QLatin1Char('/') + matches.first();
}

} // namespace file_checks
