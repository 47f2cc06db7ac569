#include "kept_originals.h"

#include "files/file_checks.h"
#include "files/system_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Readable, and the same for every spelling of the game folder: its name, and a short key of
// its full path, since two games may have folders of one name.
QString gameFolderName(const QString& gameFolder) {
    const QString key = system_files::folderKey(gameFolder);
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    static const QRegularExpression unsafe(QStringLiteral("[<>:\"/\\\\|?*\\x00-\\x1f]"));
    QString name = QFileInfo(key).fileName().replace(unsafe, QStringLiteral("_")).left(60);
    if (name.isEmpty())
        name = QStringLiteral("Spiel");
    return QStringLiteral("%1 (%2)").arg(name, hash);
}

} // namespace

KeptOriginals::KeptOriginals(const QString& configsFolder, const QString& gameFolder)
    : m_folder(configsFolder + QStringLiteral("/Originale/") + gameFolderName(gameFolder)) {}

QString KeptOriginals::gamesOwn(const QString& unit) const {
    if (!QFileInfo(m_folder).isDir())
        return {};
    const QString own = file_checks::spelledAsFound(m_folder, unit + QStringLiteral(".txt"));
    return QFileInfo(own).isFile() ? own : QString();
}

QStringList KeptOriginals::files() const {
    QStringList kept;
    const QDir folder(m_folder);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        kept << folder.filePath(name);
    return kept;
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
