#include "mount_table.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace {

// A mount point as the mount table spells it: blank, tab, newline and backslash as octal escapes.
QString unescapeMountPath(const QByteArray& field) {
    QByteArray path;
    path.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path.append(char(code));
                i += 3;
                continue;
            }
        }
        path.append(field[i]);
    }
    return QFile::decodeName(path);
}

bool isUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QStringList drivesInMountTable(const QByteArray& mountInfo) {
    QStringList roots;
    // One line per mount: "id parent major:minor root mountpoint options ... - type source ...".
    QSet<QString> seen;
    for (const QByteArray& line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 2 >= fields.size())
            continue;
        const QString mountPoint = unescapeMountPath(fields[4]);
        const QByteArray type = fields[dash + 1];
        const QByteArray source = fields[dash + 2];
        // The system's own file systems are no drives to keep a game on.
        static const QStringList systemFolders{"/dev", "/proc", "/sys", "/var/run", "/var/lock"};
        if (std::any_of(systemFolders.begin(), systemFolders.end(),
                        [&](const QString& f) { return isUnder(mountPoint, f); }))
            continue;
        if (type == "rootfs" || type == "rpc_pipefs" ||
            (type != "tmpfs" && !source.startsWith('/')))
            continue;
        if (!seen.contains(mountPoint)) {
            seen.insert(mountPoint);
            roots.append(mountPoint);
        }
    }
    return roots;
}
