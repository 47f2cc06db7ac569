#pragma once

#include <QByteArray>
#include <QStringList>

// What the kill test's helper writes: two name lists and two unit files of a few MiB.
namespace kill_test {

inline QStringList names(char side) {
    QStringList list;
    const int count = side == 'A' ? 3000 : 5000;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("%1_Konfiguration_%2").arg(QChar(side)).arg(i);
    return list;
}

inline QByteArray unitBytes(char fill, int mebibytes) {
    QByteArray bytes(mebibytes * 1024 * 1024, fill);
    // Ends that differ from the middle, so a file cut anywhere shows.
    bytes.replace(0, 6, "BEGIN\n");
    bytes.replace(bytes.size() - 4, 4, "END\n");
    return bytes;
}

} // namespace kill_test
