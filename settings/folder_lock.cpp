#include "folder_lock.h"

#include "kovex_error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString lockFolder() {
    static const QString folder = [] {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        return runtime.isEmpty() ? QDir::tempPath() : runtime;
    }();
    return folder;
}

} // namespace

QString FolderLock::lockFilePath(Purpose purpose, const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    const QString key = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    const QString kind =
        purpose == Purpose::Settings ? QStringLiteral("settings") : QStringLiteral("apply");
    return lockFolder() + QStringLiteral("/kovex-%1-%2.lock").arg(kind, QString::fromLatin1(hash));
}

FolderLock::FolderLock(Purpose purpose, const QString& folder)
    : m_lock(lockFilePath(purpose, folder)) {
    // A lock left by a killed copy is taken over: QLockFile sees that its process is gone, or,
    // for a copy killed before it wrote its process id, that the file is older than this. A
    // live copy keeps its lock however long a large apply takes, as it also holds the file's
    // system lock, which QLockFile never takes away.
    m_lock.setStaleLockTime(1000);
    if (m_lock.tryLock(kWaitMs))
        return;
    if (m_lock.error() == QLockFile::LockFailedError)
        throw KovexError(KovexError::PermissionDenied,
                         QStringLiteral("%1 (wird gerade von einem anderen KOVEX benutzt)")
                             .arg(QDir::toNativeSeparators(folder)));
    throw KovexError(KovexError::PermissionDenied,
                     QDir::toNativeSeparators(lockFilePath(purpose, folder)));
}
