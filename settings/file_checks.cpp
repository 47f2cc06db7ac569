#include "file_checks.h"

#include "kovex_error.h"
#include "system_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace file_checks {

QString resolveLinks(const QString& path) {
    QString current = path;
    for (int hops = 0; hops < 32; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
}

void refuseForeignLinks(const QString& path) {
    QString current = path;
    for (int hops = 0; hops < 32; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return;
        if (!system_files::linkIsTrusted(current))
            throw KovexError(KovexError::PermissionDenied,
                             QStringLiteral("%1 (Verknüpfung eines anderen Benutzers)")
                                 .arg(QDir::toNativeSeparators(current)));
        current = info.symLinkTarget();
    }
}

bool isRegularOrMissing(const QString& path) {
    const QFileInfo info(resolveLinks(path));
    return !info.exists() || info.isFile();
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
