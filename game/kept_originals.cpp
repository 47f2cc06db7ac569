#include "kept_originals.h"

#include "game_places.h"
#include "unit_files.h"

#include "files/kovex_error.h"
#include "files/safe_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Readable, and the same for every spelling of the game folder: its name, and a short key of
// its full path, since two games may have folders of one name.
QString gameFolderName(const QString& gameFolder) {
    const QString key = game_places::folderKey(gameFolder);
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    static const QRegularExpression unsafe(QStringLiteral("[<>:\"/\\\\|?*\\x00-\\x1f]"));
    QString name = QFileInfo(key).fileName().replace(unsafe, QStringLiteral("_")).left(60);
    return QStringLiteral("%1 (%2)").arg(name.isEmpty() ? QStringLiteral("Spiel") : name, hash);
}

QString ownIn(const QString& folder, const QString& unit) {
    const QString own = unit_files::spelledAsFound(folder, unit + QStringLiteral(".txt"));
    return QFileInfo(own).isFile() ? own : QString();
}

QStringList filesIn(const QString& path) {
    QStringList kept;
    const QDir folder(path);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        kept << folder.filePath(name);
    return kept;
}

// The unit a kept file is of: its name without " (n).txt".
QString unitOf(const QString& file) {
    static const QRegularExpression numbered(QStringLiteral("^(.*?)(?: \\(\\d+\\))?\\.txt$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return numbered.match(QFileInfo(file).fileName()).captured(1);
}

} // namespace

KeptOriginals::KeptOriginals(const QString& configsFolder, const QString& gameFolder)
    : m_folder(gameFolder + QLatin1Char('/') + kFolderName),
      m_earlierFolder(configsFolder + QStringLiteral("/Originale/") + gameFolderName(gameFolder)) {}

QString KeptOriginals::gamesOwn(const QString& unit) const {
    const QString own = ownIn(m_folder, unit);
    return own.isEmpty() ? ownIn(m_earlierFolder, unit) : own;
}

QStringList KeptOriginals::files() const {
    return filesIn(m_folder) + filesIn(m_earlierFolder);
}

QString KeptOriginals::nextPlace(const QString& unit) const {
    const auto place = [&](int n) {
        return m_folder + QLatin1Char('/') + unit +
               (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + QStringLiteral(".txt");
    };
    int n = 1;
    while (QFileInfo::exists(place(n)) || QFileInfo(place(n)).isSymLink())
        ++n;
    return place(n);
}

void KeptOriginals::migrate() const {
    QStringList earlier = filesIn(m_earlierFolder);
    // The game's own first, so that it stays the game's own here.
    std::stable_partition(earlier.begin(), earlier.end(), [](const QString& file) {
        return QFileInfo(file).fileName().compare(unitOf(file) + QStringLiteral(".txt"),
                                                  Qt::CaseInsensitive) == 0;
    });
    for (const QString& file : earlier) {
        try {
            const QByteArray bytes = safe_file::read(file);
            const QStringList here = filesIn(m_folder);
            if (std::none_of(here.begin(), here.end(),
                             [&](const QString& kept) { return safe_file::read(kept) == bytes; })) {
                safe_file::createFolder(m_folder);
                SafeWrite copy(nextPlace(unitOf(file)));
                copy.write(bytes);
                copy.narrowTo(file);
                copy.commit();
            }
        } catch (const KovexError&) {
            // What the game folder cannot take, or cannot be read, stays where it is, and is
            // honoured there.
        }
    }
}
