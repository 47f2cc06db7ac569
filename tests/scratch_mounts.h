#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

// Small file systems of the test's own, in a private mount namespace, for faults that root
// cannot otherwise meet: a full disk and a read-only folder.
namespace scratch_mounts {

// Enters a private mount namespace. Call before any thread starts; false where the machine
// does not allow it, and the tests that need it skip.
bool enterPrivateNamespace();
bool available();

// Mounts an empty tmpfs of the given size on the folder; with inodes, room for that many files
// and folders only.
bool mountTmpfs(const QString& folder, int kibibytes, int inodes = 0);
bool remountReadOnly(const QString& folder);
void unmount(const QString& folder);

} // namespace scratch_mounts

// A small disk of the test's own with the given room left, for a full disk: on Linux a tmpfs in
// the private mount namespace; under Wine the small drive that tools/wine-run.sh mounts and
// names in KOVEX_SMALL_DRIVE, filled up to that room.
class SmallDisk {
public:
    explicit SmallDisk(int kibibytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool ready() const { return m_ready; }
    // An empty folder on it.
    QString folder() const { return m_dir ? m_dir->path() : QString(); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_filler;
    bool m_ready = false;
};
