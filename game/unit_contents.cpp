#include "unit_contents.h"

#include "kept_originals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QByteArray bytesOf(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(size + 1);
    return bytes.size() == size ? bytes : QByteArray();
}

QString canonical(const QString& path) {
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : real;
}

} // namespace

UnitContents::UnitContents(const QString& configsFolder, const KeptOriginals& originals,
                           const QStringList& excluded) {
    QSet<QString> left;
    for (const QString& path : excluded)
        left.insert(canonical(path));
    const auto add = [&](const QFileInfo& file, const UnitHolding& holding) {
        if (file.isFile() && !left.contains(canonical(file.filePath())))
            m_known.append({file.filePath(), file.size(), holding});
    };
    for (const QString& kept : originals.files())
        add(QFileInfo(kept), {UnitHolding::Kind::GamesOwn, {}});
    const QFileInfoList configurations =
        QDir(configsFolder)
            .entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo& file : configurations)
        add(file, {UnitHolding::Kind::Configuration, file.fileName().chopped(4)});
}

UnitHolding UnitContents::identify(const QString& unitFile, const QString& preferred) const {
    const QFileInfo unit(unitFile);
    if (!unit.isFile())
        return {UnitHolding::Kind::Missing, {}};
    const qint64 size = unit.size();
    QByteArray bytes;
    bool read = false;
    UnitHolding found{UnitHolding::Kind::Unknown, {}};
    for (const Known& known : m_known) {
        if (known.size != size)
            continue;
        if (!read) {
            bytes = bytesOf(unitFile, size);
            read = true;
            if (bytes.size() != size)
                return found;
        }
        if (bytesOf(known.path, size) != bytes)
            continue;
        // The game's own comes first; among configurations the preferred, else the first.
        if (known.holding.kind == UnitHolding::Kind::GamesOwn ||
            known.holding.configuration == preferred)
            return known.holding;
        if (found.kind == UnitHolding::Kind::Unknown)
            found = known.holding;
    }
    return found;
}
