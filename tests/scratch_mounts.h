#pragma once

#include <QString>

// Small file systems of the test's own, in a private mount namespace, for faults that root
// cannot otherwise meet: a full disk and a read-only folder.
namespace scratch_mounts {

// Enters a private mount namespace. Call before any thread starts; false where the machine
// does not allow it, and the tests that need it skip.
bool enterPrivateNamespace();
bool available();

// Mounts an empty tmpfs of the given size on the folder.
bool mountTmpfs(const QString& folder, int kibibytes);
bool remountReadOnly(const QString& folder);
void unmount(const QString& folder);

} // namespace scratch_mounts
