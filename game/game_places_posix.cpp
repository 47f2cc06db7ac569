#include "game_places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The library folders a Steam installation lists besides its own.
QStringList steamLibraries(const QString& steam) {
    QStringList libraries{steam};
    QFile list(steam + QStringLiteral("/steamapps/libraryfolders.vdf"));
    if (list.open(QIODevice::ReadOnly)) {
        static const QRegularExpression path(QStringLiteral("\"path\"\\s+\"([^\"]+)\""));
        for (auto it = path.globalMatch(QString::fromUtf8(list.readAll())); it.hasNext();)
            libraries << it.next().captured(1).replace(QStringLiteral("\\\\"),
                                                       QStringLiteral("\\"));
    }
    return libraries;
}

} // namespace

namespace game_places {

QStringList usualPlaces(const QString& home) {
    QStringList places;
    // Wine: the default prefix and those kept side by side by launchers.
    places << home + QStringLiteral("/.wine/drive_c");
    for (const QString& parent :
         {QStringLiteral("/.local/share/wineprefixes"), QStringLiteral("/Games"),
          QStringLiteral("/.PlayOnLinux/wineprefix")})
        for (const QString& prefix :
             QDir(home + parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
            places << home + parent + QLatin1Char('/') + prefix + QStringLiteral("/drive_c");
    // Steam: each library's games, and the Windows drives Proton gives them.
    QStringList steams;
    for (const QString& steam :
         {QStringLiteral("/.steam/steam"), QStringLiteral("/.local/share/Steam"),
          QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam")}) {
        const QString canonical = QFileInfo(home + steam).canonicalFilePath();
        if (!canonical.isEmpty() && !steams.contains(canonical))
            steams << canonical;
    }
    QStringList libraries;
    for (const QString& steam : steams)
        for (const QString& library : steamLibraries(steam))
            if (!libraries.contains(QDir::cleanPath(library)))
                libraries << QDir::cleanPath(library);
    for (const QString& library : libraries) {
        places << library + QStringLiteral("/steamapps/common");
        const QString compat = library + QStringLiteral("/steamapps/compatdata");
        for (const QString& id : QDir(compat).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            places << compat + QLatin1Char('/') + id + QStringLiteral("/pfx/drive_c");
    }
    return places;
}

QString folderKey(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace game_places
