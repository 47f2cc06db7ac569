// libFuzzer target: any bytes as a settings file must read without a crash, and the names read
// must survive being written and read again, byte for byte the second time. It works in
// memory, on the reader and the line writer that the program's text streams use, so that it
// tries many thousand inputs a second.
#include "settings/line_list.h"
#include "settings/settings_text.h"

#include <cstdint>
#include <cstdlib>

namespace {

// What a save writes for the names (WriteUnits writes them so).
QByteArray saved(const LineList& names) {
    QByteArray bytes;
    for (qsizetype i = 0; i < names.size(); ++i)
        settings_text::appendLine(bytes, names.utf8At(i), i == 0);
    return bytes;
}

// The same names: the same bytes of UTF-8 for each, which the lines keep.
bool sameNames(const LineList& a, const LineList& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.utf8At(i) != b.utf8At(i))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const LineList names = settings_text::decodeLines(input);
    const QByteArray written = saved(names);
    const LineList again = settings_text::decodeLines(written);
    if (!sameNames(again, names))
        std::abort(); // a name was lost or changed by a save
    if (saved(again) != written)
        std::abort(); // a second save must write the same bytes
    return 0;
}
