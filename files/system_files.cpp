#include "system_files.h"

#include "file_place.h"

void SystemFile::openRegularForReading(const QString& path) {
    const FilePlace place(path);
    openForReading(place);
}
