#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QTest>

const QByteArray kOriginalWarhammer = "original warhammer\r\nmass 70\r\n";
const QByteArray kOriginalMarauder = "original marauder\r\nmass 75\r\n";

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QString makeGame(const QString& folder) {
    QDir().mkpath(folder + "/Mechdata");
    writeFile(folder + "/Mechdata/WHM-6K_Warhammer.txt", kOriginalWarhammer);
    writeFile(folder + "/Mechdata/MAD-3R_Marauder.txt", kOriginalMarauder);
    return QDir::cleanPath(folder);
}

Installation::Installation(const QString& appFolder, const QString& gameFolder)
    : app(appFolder), game(gameFolder) {
    QDir().mkpath(game + "/Mechdata");
    QDir().mkpath(app + "/configs");
    writeFile(unit("WHM-6K_Warhammer"), kOriginalWarhammer);
    writeFile(unit("MAD-3R_Marauder"), kOriginalMarauder);
    writeFile(config("Atlas"), "atlas\r\n");
    writeFile(config("Locust"), "locust\r\n");
    writeFile(app + "/Konfigs.ini", "");
    writeFile(app + "/units.ini", "Atlas\r\nLocust\r\n");
}

QStringList Installation::files() const {
    QStringList all;
    for (const QString& folder : {app, app + "/configs", game + "/Mechdata"})
        for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            all << QDir(folder).filePath(entry);
    return all;
}

void Installation::expectUntouched() const {
    QCOMPARE(readFile(unit("WHM-6K_Warhammer")), kOriginalWarhammer);
    QCOMPARE(readFile(unit("MAD-3R_Marauder")), kOriginalMarauder);
}
