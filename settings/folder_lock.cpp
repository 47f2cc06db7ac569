#include "folder_lock.h"

#include "kovex_error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

QString FolderLock::lockFilePath(Purpose purpose, const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    const QString key =
        folderKey(canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical);
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    const QString kind =
        purpose == Purpose::Settings ? QStringLiteral("settings") : QStringLiteral("apply");
    return lockFolder() + QStringLiteral("/kovex-%1-%2.lock").arg(kind, QString::fromLatin1(hash));
}

FolderLock::FolderLock(Purpose purpose, const QString& folder) {
    const QString path = lockFilePath(purpose, folder);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        switch (tryLock(path)) {
        case Attempt::Locked:
            return;
        case Attempt::Failed:
            throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(path));
        case Attempt::HeldByAnother:
            break;
        }
        if (waited.elapsed() >= kWaitMs)
            throw KovexError(KovexError::PermissionDenied,
                             QStringLiteral("%1 (wird gerade von einem anderen KOVEX benutzt)")
                                 .arg(QDir::toNativeSeparators(folder)));
        QThread::msleep(20);
    }
}

FolderLock::~FolderLock() {
    unlock();
}
