#include "desktop_entry.h"

#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "files/safe_file.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A value of the entry: a backslash is written twice.
QString value(QString text) {
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

// One argument of Exec, quoted: inside the quotes ", `, $ and \ take a backslash, % is doubled;
// then the whole is a value like any other.
QString argument(QString text) {
    for (const QString& special :
         {QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("`"), QStringLiteral("$")})
        text.replace(special, QLatin1Char('\\') + special);
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return value(QLatin1Char('"') + text + QLatin1Char('"'));
}

// The entry's text for a bundle in the folder.
QString bundleDesktopEntry(const QString& appFolder) {
    // Each argument names a file of the bundle's folder: this folder first, then the entry's
    // own place where the desktop says it (%k); the first that holds kovex starts it.
    const QString start =
        QStringLiteral("sh -c \"for f in \\\"\\$@\\\"; do [ -x \\\"\\${f%%/*}/kovex\\\" ] && cd "
                       "\\\"\\${f%%/*}\\\" && exec ./kovex; done; exit 1\" sh ");
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=KOVEX\n"
                          "Comment=Mechs für Velmora Demo Alpha austauschen\n"
                          "Exec=%1%2 %k\n"
                          "Path=%3\n"
                          "Icon=%4\n"
                          "Terminal=false\n"
                          "Categories=Game;\n")
        .arg(value(start), argument(appFolder + QStringLiteral("/kovex")), value(appFolder),
             value(appFolder + QStringLiteral("/kovex.png")));
}

} // namespace

void refreshBundleDesktopEntry(const QString& appFolder) {
    const QString path = appFolder + QStringLiteral("/kovex.desktop");
    const QFileInfo entry(path);
    // Only the bundle's own entry, never through a link, and only with a folder name that an
    // entry can hold.
    if (!entry.isFile() || entry.isSymLink() || appFolder.contains(QLatin1Char('\n')) ||
        appFolder.contains(QLatin1Char('\r')) || appFolder.startsWith(QLatin1String("/proc/")))
        return;
    const QByteArray wanted = bundleDesktopEntry(appFolder).toUtf8();
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == wanted)
        return;
    try {
        const FolderLock lock(appFolder);
        SafeWrite::whole(path, wanted);
    } catch (const KovexError&) {
        // A folder the user may not write keeps the entry as it came: it still works from a
        // file manager that opens it in place.
    }
}
