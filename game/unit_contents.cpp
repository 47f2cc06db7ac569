#include "unit_contents.h"

#include "kept_originals.h"

#include "settings/kovex_error.h"
#include "settings/system_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// The file's bytes when it has the size, else nothing. Read as the file layer reads: never
// blocking on a named pipe, and shared so fully that another copy of the program may replace
// the file meanwhile (Windows refuses a replace while a reader does not allow it).
QByteArray bytesOf(const QString& path, qint64 size) {
    try {
        SystemFile file;
        file.openRegularForReading(path);
        QByteArray bytes(size + 1, Qt::Uninitialized);
        qint64 got = 0;
        for (qint64 part;
             got < bytes.size() && (part = file.read(bytes.data() + got, bytes.size() - got)) > 0;)
            got += part;
        return got == size ? bytes.first(size) : QByteArray();
    } catch (const KovexError&) {
        return {};
    }
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
        add(QFileInfo(kept), {UnitHolding::Kind::GamesOwn, QFileInfo(kept).fileName().chopped(4)});
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
