#include "application_files.h"

#include "files/safe_file.h"

#include <QDateTime>
#include <QFileInfo>

void ApplicationFiles::createConfigsFolder() const {
    safe_file::createFolder(configsFolder());
}

QByteArray ApplicationFiles::stamp(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    return QByteArray::number(file.size()) + ' ' +
           QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + ' ' +
           QByteArray::number(file.metadataChangeTime().toMSecsSinceEpoch());
}
