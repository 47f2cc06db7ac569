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
        if (name.compare(KeptOriginals::kRecordName, Qt::CaseInsensitive) != 0)
            kept << folder.filePath(name);
    return kept;
}

QByteArray hashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
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
      m_earlierFolder(configsFolder + QStringLiteral("/Originale/") + gameFolderName(gameFolder)) {
    QByteArray record;
    try {
        if (QFileInfo(recordPath()).isFile()) {
            record = safe_file::read(recordPath());
            m_knowsWrites = true;
        }
    } catch (const KovexError&) {
        // A record that cannot be read is none: the kept files count as before it.
    }
    m_knowsWrites = m_knowsWrites || files().isEmpty();
    // "written <unit> <hash>" and "found <time> <kept file>"; any other line is passed over.
    for (const QByteArray& line : record.split('\n')) {
        const QString text = QString::fromUtf8(line);
        const QString kind = text.section(QLatin1Char(' '), 0, 0);
        const QString value = text.section(QLatin1Char(' '), 2);
        if (kind == QLatin1String("written"))
            m_written.insert(text.section(QLatin1Char(' '), 1, 1), value.toLatin1());
        const QDateTime found =
            QDateTime::fromString(text.section(QLatin1Char(' '), 1, 1), Qt::ISODateWithMs);
        if (kind == QLatin1String("found") && found.isValid() && !value.isEmpty())
            m_found.insert(value, found);
    }
}

QString KeptOriginals::gamesOwn(const QString& unit) const {
    QString latest;
    QDateTime when;
    for (auto found = m_found.cbegin(); found != m_found.cend(); ++found) {
        const QString path = m_folder + QLatin1Char('/') + found.key();
        if (unitOf(path).compare(unit, Qt::CaseInsensitive) == 0 &&
            (latest.isEmpty() || found.value() > when) && QFileInfo(path).isFile()) {
            latest = path;
            when = found.value();
        }
    }
    if (!latest.isEmpty())
        return latest;
    const QString own = ownIn(m_folder, unit);
    return own.isEmpty() ? ownIn(m_earlierFolder, unit) : own;
}

bool KeptOriginals::wroteLast(const QString& unit, const QByteArray& bytes) const {
    return m_written.value(unit) == hashOf(bytes);
}

void KeptOriginals::setWritten(const QString& unit, const QByteArray& bytes) {
    m_written.insert(unit, hashOf(bytes));
}

void KeptOriginals::setFound(const QString& keptName) {
    // Later than every finding before, even where the clock was set back since.
    QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QDateTime& found : m_found)
        now = std::max(now, found.addMSecs(1));
    m_found.insert(keptName, now);
}

QByteArray KeptOriginals::record() const {
    QByteArray record;
    for (auto written = m_written.cbegin(); written != m_written.cend(); ++written)
        record += "written " + written.key().toUtf8() + ' ' + written.value() + '\n';
    for (auto found = m_found.cbegin(); found != m_found.cend(); ++found)
        record += "found " + found.value().toString(Qt::ISODateWithMs).toUtf8() + ' ' +
                  found.key().toUtf8() + '\n';
    return record;
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
