#include "unit_contents.h"

#include "kept_originals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString canonical(const QString& path) {
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : real;
}

} // namespace

UnitContents::UnitContents(const QString& configsFolder, const KeptOriginals& originals,
                           const QStringList& excluded) {
    QStringList left;
    for (const QString& path : excluded)
        left << canonical(path);
    const auto add = [&](const QFileInfo& file, UnitHolding::Kind kind) {
        if (file.isFile() && !left.contains(canonical(file.filePath())))
            m_known.append({file.filePath(), file.size(), {kind, file.fileName().chopped(4)}});
    };
    for (const QString& kept : originals.files())
        add(QFileInfo(kept), UnitHolding::Kind::GamesOwn);
    for (const QFileInfo& file :
         QDir(configsFolder)
             .entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::Name))
        add(file, UnitHolding::Kind::Configuration);
}

UnitHolding UnitContents::identify(const QByteArray& unit, const QString& preferred) const {
    UnitHolding found{UnitHolding::Kind::Unknown, {}};
    for (const Known& known : m_known) {
        QFile file(known.path);
        if (known.size != unit.size() || !file.open(QIODevice::ReadOnly) || file.readAll() != unit)
            continue;
        if (known.holding.kind == UnitHolding::Kind::GamesOwn ||
            known.holding.configuration == preferred)
            return known.holding;
        if (found.kind == UnitHolding::Kind::Unknown)
            found = known.holding;
    }
    return found;
}
