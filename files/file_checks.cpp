#include "file_checks.h"

#include "file_place.h"
#include "kovex_error.h"
#include "system_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace file_checks {

bool isRegularOrMissing(const QString& path) {
    const FilePlace::Kind kind = FilePlace(path).kind();
    return kind == FilePlace::Kind::Regular || kind == FilePlace::Kind::Missing;
}

bool holdSameBytes(const QString& one, const QString& other) {
    SystemFile files[2];
    files[0].openRegularForReading(one);
    files[1].openRegularForReading(other);
    if (files[0].size() != files[1].size())
        return false;
    constexpr qint64 kPiece = 1 << 16;
    QByteArray pieces[2] = {QByteArray(kPiece, Qt::Uninitialized),
                            QByteArray(kPiece, Qt::Uninitialized)};
    for (;;) {
        qint64 got[2] = {0, 0};
        for (int i = 0; i < 2; ++i)
            for (qint64 part; got[i] < kPiece && (part = files[i].read(pieces[i].data() + got[i],
                                                                       kPiece - got[i])) > 0;)
                got[i] += part;
        if (got[0] != got[1] || pieces[0].first(got[0]) != pieces[1].first(got[1]))
            return false;
        if (got[0] < kPiece)
            return true;
    }
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
