#pragma once

#include <QByteArray>
#include <QStringList>

// The drives in a Linux mount table (/proc/self/mountinfo), in its order, each once: the
// volumes a game can be kept on, not the system's own file systems.
QStringList drivesInMountTable(const QByteArray& mountInfo);
