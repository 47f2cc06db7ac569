#include "safe_file.h"

#include "file_system.h"
#include "folder_lock.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

// Owner, group and others: Qt's "user" bits stand for what this process may do, and would
// reach the new file as the owner's.
constexpr QFileDevice::Permissions kModeBits(0x7077);

QByteArray safe_file::read(const QString& path) {
    file_system::refuseForeignLinks(path);
    // A named pipe would hang the read, a device never end it.
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw file_system::lastError(path);
    if (file.size() > kLargest)
        throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw file_system::lastError(path);
    return bytes;
}

void safe_file::createFolder(const QString& path) {
    file_system::refuseSharedPlaces(path);
    if (!QDir().mkpath(path))
        throw file_system::lastError(path);
}

SafeWrite::SafeWrite(const QString& path) : m_path(path) {
    file_system::refuseForeignLinks(path);
    QFileInfo target(path); // where its own links lead, followed as QSaveFile follows them
    for (int links = 0; links < 40 && target.isSymLink(); ++links)
        target.setFile(target.symLinkTarget());
    m_target = target.absoluteFilePath();
    file_system::refuseSharedPlaces(m_target);
    if (target.exists() && !target.isFile())
        throw KovexError(KovexError::PathFileAccessError, QDir::toNativeSeparators(path));
    if (target.exists() && !target.isWritable()) {
        // QSaveFile opens no read-only file, and Windows replaces none.
        m_readOnly = target.permissions() & kModeBits;
        QFile::setPermissions(m_target, *m_readOnly | QFileDevice::WriteOwner);
    }
    // What killed saves left beside the file: QSaveFile's "<name>.XXXXXX" (kept named on Windows
    // and FAT), and the earlier versions' "<name>.kovex-tmp.<random>".
    const QRegularExpression leftover(QStringLiteral("^%1\\.([A-Za-z0-9]{6}|kovex-tmp(\\..+)?)$")
                                          .arg(QRegularExpression::escape(target.fileName())));
    const QDir folder = QFileInfo(m_target).absoluteDir();
    for (const QString& name :
         folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort)) {
        QFile file(folder.filePath(name));
        if (leftover.match(name).hasMatch() && file.setPermissions(QFileDevice::WriteOwner))
            file.remove();
    }
    m_finish = file_system::finishReplace(m_target);
    m_file.setFileName(m_target);
    // Unbuffered, so that every write reaches the system and a short one shows at once.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    if (target.exists() &&
        !m_file.setPermissions(m_readOnly.value_or(target.permissions() & kModeBits)))
        fail();
}

SafeWrite::~SafeWrite() {
    if (!m_committed && m_readOnly)
        QFile::setPermissions(m_target, *m_readOnly);
}

void SafeWrite::fail() {
    const KovexError error = file_system::lastError(m_path); // before anything else can change it
    m_file.cancelWriting();
    if (m_readOnly)
        QFile::setPermissions(m_target, *std::exchange(m_readOnly, std::nullopt));
    throw error;
}

void SafeWrite::write(const QByteArray& bytes) {
    // On a full disk QSaveFile takes a short write, and would still commit what it got.
    if (m_file.write(bytes) != bytes.size())
        fail();
}

void SafeWrite::narrowTo(const QString& source) {
    const auto reads = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!m_file.setPermissions(m_file.permissions() & kModeBits &
                               ~(reads & ~QFile::permissions(source))))
        fail();
}

void SafeWrite::prepare() {
    if (!m_file.flush())
        fail();
    if (!file_system::waitUntilReplaceable(m_target))
        throw file_system::inUseError(m_path);
}

void SafeWrite::commit() {
    prepare();
    if (!m_file.commit())
        fail();
    m_committed = true;
    m_finish();
}

void SafeWrite::whole(const QString& path, const QByteArray& bytes) {
    SafeWrite file(path);
    file.write(bytes);
    file.commit();
}

FolderLock::FolderLock(const QString& folder) : m_folder(folder) {
    for (int waited = 0; !tryLock(); waited += 20) {
        if (waited >= kWaitMs) {
            release();
            throw KovexError(KovexError::PermissionDenied,
                             QStringLiteral("%1 (wird gerade von einem anderen KOVEX benutzt)")
                                 .arg(QDir::toNativeSeparators(folder)));
        }
        QThread::msleep(20);
    }
}

FolderLock::~FolderLock() {
    release();
}
