#include "application_folder.h"

#include <QCoreApplication>

QString applicationFolder() {
    // Windows names every folder in UTF-16, which Qt's text holds whole.
    return QCoreApplication::applicationDirPath();
}
