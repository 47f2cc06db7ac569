#include "folder_lock.h"

#include "kovex_error.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

FolderLock::FolderLock(const QStringList& folders) {
    for (const QString& path : folders) {
        Folder folder{path, {}, -1};
        switch (open(path, folder.identity, folder.handle)) {
        case Opening::Missing:
            continue;
        case Opening::Refused:
            releaseAll();
            throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(path));
        case Opening::Opened:
            break;
        }
        const bool named = std::any_of(m_folders.begin(), m_folders.end(), [&](const Folder& f) {
            return f.identity == folder.identity;
        });
        if (named)
            release(folder.handle);
        else
            m_folders.append(folder);
    }
    std::sort(m_folders.begin(), m_folders.end(),
              [](const Folder& a, const Folder& b) { return a.identity < b.identity; });

    for (const Folder& folder : std::as_const(m_folders)) {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            const Attempt attempt = tryLock(folder.handle);
            if (attempt == Attempt::Locked)
                break;
            const bool waitedEnough = waited.elapsed() >= kWaitMs;
            if (attempt == Attempt::Failed || waitedEnough) {
                const QString shown = QDir::toNativeSeparators(folder.path);
                releaseAll();
                if (attempt == Attempt::Failed)
                    throw KovexError(KovexError::PermissionDenied, shown);
                throw KovexError(
                    KovexError::PermissionDenied,
                    QStringLiteral("%1 (wird gerade von einem anderen KOVEX benutzt)").arg(shown));
            }
            QThread::msleep(20);
        }
    }
}

FolderLock::~FolderLock() {
    releaseAll();
}

void FolderLock::releaseAll() {
    for (const Folder& folder : std::as_const(m_folders))
        release(folder.handle);
    m_folders.clear();
}
