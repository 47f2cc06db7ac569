#include "scratch_mounts.h"

#include <QFile>

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
#else
// Mount namespaces are Linux's; elsewhere the tests that need one say so and skip.
bool enterPrivateNamespace() {
    return false;
}
bool mountTmpfs(const QString&, int) {
    return false;
}
bool remountReadOnly(const QString&) {
    return false;
}
void unmount(const QString&) {}
#endif

} // namespace scratch_mounts
