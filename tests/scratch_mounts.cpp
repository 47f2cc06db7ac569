#include "scratch_mounts.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#endif

namespace {
bool g_available = false;
}

namespace scratch_mounts {

bool available() {
    return g_available;
}

#ifdef Q_OS_LINUX
bool enterPrivateNamespace() {
    g_available = ::unshare(CLONE_NEWNS) == 0 &&
                  ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return g_available;
}

bool mountTmpfs(const QString& folder, int kibibytes, int inodes) {
    QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    if (inodes > 0)
        options += ",nr_inodes=" + QByteArray::number(inodes);
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                   options.constData()) == 0;
}

bool remountReadOnly(const QString& folder) {
    return ::mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                   nullptr) == 0;
}

void unmount(const QString& folder) {
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}
#else
// Mount namespaces are Linux's; elsewhere the tests that need one say so and skip.
bool enterPrivateNamespace() {
    return false;
}
bool mountTmpfs(const QString&, int, int) {
    return false;
}
bool remountReadOnly(const QString&) {
    return false;
}
void unmount(const QString&) {}
#endif

} // namespace scratch_mounts

SmallDisk::SmallDisk(int kibibytes) {
#ifdef Q_OS_WIN
    const QString drive = qEnvironmentVariable("KOVEX_SMALL_DRIVE");
    if (drive.isEmpty() || !QFileInfo::exists(drive + QStringLiteral("/")))
        return;
    m_dir = std::make_unique<QTemporaryDir>(drive + QStringLiteral("/kovex-XXXXXX"));
    m_filler = drive + QStringLiteral("/filler");
    QFile filler(m_filler);
    if (!m_dir->isValid() || !filler.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    // Written out, not sparse, so that the room is really taken.
    qint64 toFill = QStorageInfo(drive + QStringLiteral("/")).bytesAvailable() - kibibytes * 1024;
    const QByteArray block(4096, '\0');
    for (; toFill >= block.size(); toFill -= block.size())
        if (filler.write(block) != block.size())
            return;
    filler.close();
    m_ready = true;
#else
    if (!scratch_mounts::available())
        return;
    m_dir = std::make_unique<QTemporaryDir>();
    m_ready = m_dir->isValid() && scratch_mounts::mountTmpfs(m_dir->path(), kibibytes);
#endif
}

SmallDisk::~SmallDisk() {
#ifdef Q_OS_WIN
    if (!m_filler.isEmpty())
        QFile::remove(m_filler);
#else
    if (m_ready)
        scratch_mounts::unmount(m_dir->path());
#endif
}
