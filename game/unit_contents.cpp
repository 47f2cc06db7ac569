#include "unit_contents.h"

#include "kept_originals.h"
#include "written_units.h"

#include "files/kovex_error.h"
#include "files/system_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cstring>

namespace {

// Reads up to size bytes, fewer only at the end of the file.
qint64 readUpTo(SystemFile& file, char* data, qint64 size) {
    qint64 got = 0;
    for (qint64 part; got < size && (part = file.read(data + got, size - got)) > 0;)
        got += part;
    return got;
}

// A known file, opened; a failure leaves it closed. One that cannot be read holds nothing that
// can be told apart, so it is compared with nothing.
bool opened(SystemFile& file, const QString& path) {
    try {
        file.openRegularForReading(path);
        return true;
    } catch (const KovexError&) {
        return false;
    }
}

// Whether the unit and a known file of the given size hold the same bytes, read a piece at a
// time and no further than the first difference. Read as the file layer reads: never blocking
// on a named pipe, and shared so fully that another copy of the program may replace the file
// meanwhile (Windows refuses a replace while a reader does not allow it). The unit's own read
// failures throw.
bool sameBytes(const QString& unitFile, const QString& known, qint64 size) {
    SystemFile files[2];
    if (!opened(files[1], known))
        return false;
    files[0].openRegularForReading(unitFile);
    const qint64 kPiece = qMin(size + 1, qint64(1) << 20);
    QByteArray pieces[2] = {QByteArray(kPiece, Qt::Uninitialized),
                            QByteArray(kPiece, Qt::Uninitialized)};
    for (qint64 left = size + 1; left > 0;) {
        const qint64 want = qMin(left, kPiece);
        qint64 got[2] = {readUpTo(files[0], pieces[0].data(), want), 0};
        try {
            got[1] = readUpTo(files[1], pieces[1].data(), want);
        } catch (const KovexError&) {
            return false; // the known file's failure, as above
        }
        if (got[0] != got[1] ||
            std::memcmp(pieces[0].constData(), pieces[1].constData(), size_t(got[0])) != 0)
            return false;
        if (got[0] < want)
            return left - got[0] == 1; // both ended at the size
        left -= got[0];
    }
    return false; // longer than the size
}

// The whole file when it has the size (a small one), else nothing.
QByteArray bytesOf(SystemFile& file, qint64 size) {
    QByteArray bytes(size + 1, Qt::Uninitialized);
    const qint64 got = readUpTo(file, bytes.data(), bytes.size());
    return got == size ? bytes.first(size) : QByteArray();
}

// A known file's bytes, or nothing when it cannot be read (as above).
QByteArray knownBytes(const QString& path, qint64 size) {
    SystemFile file;
    if (!opened(file, path))
        return {};
    try {
        return bytesOf(file, size);
    } catch (const KovexError&) {
        return {};
    }
}

// Unit files are small: the unit is read once and held; a large one is compared a piece at a
// time instead.
constexpr qint64 kHeldWhole = 1 << 20;

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
    // Written by this program from a source that is still as it was: no need to read.
    const QString written = WrittenUnits::ofThisRun().sourceHeldBy(unitFile);
    if (!written.isEmpty()) {
        const QString source = canonical(written);
        for (const Known& known : m_known)
            if (canonical(known.path) == source)
                return known.holding;
    }
    const qint64 size = unit.size();
    QByteArray bytes;
    bool read = false;
    UnitHolding found{UnitHolding::Kind::Unknown, {}};
    for (const Known& known : m_known) {
        if (known.size != size)
            continue;
        if (size <= kHeldWhole) {
            if (!read) {
                SystemFile file;
                file.openRegularForReading(unitFile);
                bytes = bytesOf(file, size);
                read = true;
            }
            if (bytes.size() != size || knownBytes(known.path, size) != bytes)
                continue;
        } else if (!sameBytes(unitFile, known.path, size)) {
            continue;
        }
        // The game's own comes first; among configurations the preferred, else the first.
        if (known.holding.kind == UnitHolding::Kind::GamesOwn ||
            known.holding.configuration == preferred)
            return known.holding;
        if (found.kind == UnitHolding::Kind::Unknown)
            found = known.holding;
    }
    return found;
}
