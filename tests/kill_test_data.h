#pragma once

#include <QByteArray>
#include <QStringList>

// What the kill test's helper writes: two name lists of 64 and 110 KB that the lists hold whole,
// and two unit files of a few MiB.
namespace kill_test {

inline QStringList names(char side) {
    QStringList list;
    const int count = side == 'A' ? 800 : 1000;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("%1_Konfiguration_%2_")
                    .arg(QChar(side))
                    .arg(i)
                    .leftJustified(side == 'A' ? 78 : 108, QChar(side));
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
