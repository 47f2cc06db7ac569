#include "scratch_mounts.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

// Mount namespaces are Linux's; here the tests that need one say so and skip.
namespace scratch_mounts {

bool available() {
    return false;
}
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

} // namespace scratch_mounts

// The small drive that tools/wine-run.sh mounts, filled up to the room asked for.
SmallDisk::SmallDisk(int kibibytes) {
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
}

SmallDisk::~SmallDisk() {
    if (!m_filler.isEmpty())
        QFile::remove(m_filler);
}
