#include "application_files.h"

#include "settings_text.h"

#include "files/kovex_error.h"
#include "files/system_files.h"

#include <QDir>

std::unique_ptr<FileSystemObject> ApplicationFiles::createFileSystemObject() const {
    return m_factory ? m_factory() : std::make_unique<FileSystemObject>(settings_text::format());
}

void ApplicationFiles::createConfigsFolder() const {
    if (!system_files::createFolder(configsFolder()))
        throw KovexError(KovexError::PermissionDenied, QDir::toNativeSeparators(configsFolder()));
}
