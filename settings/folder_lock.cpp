#include "folder_lock.h"

#include "file_checks.h"
#include "kovex_error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

QString lockFolder() {
    static const QString folder = [] {
#ifdef Q_OS_WIN
        // Windows' runtime location is the user's home folder itself: not a place for these.
        return QDir::tempPath();
#else
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
    }();
    return folder;
}

} // namespace

QString FolderLock::lockFilePath(Purpose purpose, const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    QString key = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
#ifdef Q_OS_WIN
    // One folder, however its name is cased.
    key = key.toCaseFolded();
#endif
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    const QString kind =
        purpose == Purpose::Settings ? QStringLiteral("settings") : QStringLiteral("apply");
    return lockFolder() + QStringLiteral("/kovex-%1-%2.lock").arg(kind, QString::fromLatin1(hash));
}

FolderLock::FolderLock(Purpose purpose, const QString& folder) {
    const QString path = lockFilePath(purpose, folder);
    const auto busy = [&] {
        return KovexError(KovexError::PermissionDenied,
                          QStringLiteral("%1 (wird gerade von einem anderen KOVEX benutzt)")
                              .arg(QDir::toNativeSeparators(folder)));
    };
#ifdef Q_OS_WIN
    // The lock is the file open without sharing: Windows closes it with the process that holds
    // it, so a copy that was ended never leaves the folder locked.
    const std::wstring name = file_checks::windowsPath(path);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = handle;
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        if (waited.elapsed() >= kWaitMs)
            throw busy();
        QThread::msleep(20);
    }
#else
    // The file stays; what counts is the system's lock on it, which ends with the process that
    // holds it, so a killed copy never leaves the folder locked.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd >= 0) {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return;
            if (errno != EWOULDBLOCK && errno != EINTR)
                break;
            if (waited.elapsed() >= kWaitMs) {
                ::close(m_fd);
                throw busy();
            }
            QThread::msleep(20);
        }
        ::close(m_fd);
    }
#endif
    throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(path));
}

FolderLock::~FolderLock() {
#ifdef Q_OS_WIN
    if (m_handle)
        CloseHandle(m_handle); // ends the lock
#else
    if (m_fd >= 0)
        ::close(m_fd); // ends the lock
#endif
}
