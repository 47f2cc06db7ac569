#include "scratch_mounts.h"

#include <QFile>

#include <sched.h>
#include <sys/mount.h>

namespace {
bool g_available = false;
}

namespace scratch_mounts {

bool available() {
    return g_available;
}

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

} // namespace scratch_mounts

SmallDisk::SmallDisk(int kibibytes) {
    if (!scratch_mounts::available())
        return;
    m_dir = std::make_unique<QTemporaryDir>();
    m_ready = m_dir->isValid() && scratch_mounts::mountTmpfs(m_dir->path(), kibibytes);
}

SmallDisk::~SmallDisk() {
    if (m_ready)
        scratch_mounts::unmount(m_dir->path());
}
