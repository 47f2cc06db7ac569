#include "scratch_mounts.h"

#include <QFile>

#include <sched.h>
#include <sys/mount.h>

namespace {
bool g_available = false;
}

namespace scratch_mounts {

bool enterPrivateNamespace() {
    g_available = ::unshare(CLONE_NEWNS) == 0 &&
                  ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return g_available;
}

bool available() {
    return g_available;
}

bool mountTmpfs(const QString& folder, int kibibytes) {
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
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
