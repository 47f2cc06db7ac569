// libFuzzer target: any bytes as a settings file must read without a crash, and the names read
// must survive being written and read again, byte for byte the second time.
#include "settings/file_system_object.h"
#include "settings/kovex_error.h"
#include "settings/settings_text.h"
#include "settings/text_stream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QString scratchFile() {
    // tmpfs where there is one: every round writes and syncs a file.
    static QTemporaryDir dir(QDir("/dev/shm").exists()
                                 ? QStringLiteral("/dev/shm/kovex-fuzz-XXXXXX")
                                 : QDir::tempPath() + "/kovex-fuzz-XXXXXX");
    return dir.filePath(QStringLiteral("units.ini"));
}

QStringList readNames(FileSystemObject& fso, const QString& path) {
    auto stream = fso.OpenTextFile(path, IOMode::ForReading, true);
    QStringList names;
    while (!stream->AtEndOfStream())
        names << stream->ReadLine();
    stream->Close();
    return names;
}

void writeNames(FileSystemObject& fso, const QString& path, const QStringList& names) {
    auto stream = fso.OpenTextFile(path, IOMode::ForWriting, true);
    for (const QString& name : names)
        stream->WriteLine(name);
    stream->Close();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList decoded = settings_text::decodeLines(input).toStringList();

    const QString path = scratchFile();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(input) != input.size())
            std::abort();
    }
    try {
        FileSystemObject fso;
        const QStringList names = readNames(fso, path);
        if (names != decoded)
            std::abort();
        writeNames(fso, path, names);
        const QByteArray written = fileBytes(path);
        if (readNames(fso, path) != names)
            std::abort(); // a name was lost or changed by a save
        writeNames(fso, path, names);
        if (fileBytes(path) != written)
            std::abort(); // a second save must write the same bytes
    } catch (const KovexError&) {
        std::abort(); // the scratch file is always readable and writable
    }
    return 0;
}
