#include "application_files.h"

#include "settings_text.h"

#include "files/kovex_error.h"

#include <QDir>

std::unique_ptr<FileSystemObject> ApplicationFiles::createFileSystemObject() const {
    return m_factory ? m_factory() : std::make_unique<FileSystemObject>(settings_text::format());
}

void ApplicationFiles::createConfigsFolder() const {
    if (!QDir().mkpath(configsFolder()))
        throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(configsFolder()));
}
