// libFuzzer target: any bytes as a settings file must read without a crash, and the names read
// must survive being written and read again, byte for byte the second time. It works in
// memory, on the reader and the writer that the settings routines use, so that it tries many
// thousand inputs a second.
#include "settings/settings_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList names = settings_text::decodeLines(input);
    const QByteArray written = settings_text::encodeLines(names);
    const QStringList again = settings_text::decodeLines(written);
    if (again != names)
        std::abort(); // a name was lost or changed by a save
    if (settings_text::encodeLines(again) != written)
        std::abort(); // a second save must write the same bytes
    return 0;
}
