#include "application_files.h"

#include "settings_text.h"

std::unique_ptr<FileSystemObject> ApplicationFiles::createFileSystemObject() const {
    return m_factory ? m_factory() : std::make_unique<FileSystemObject>(settings_text::format());
}
