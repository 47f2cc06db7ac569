#include "file_errors.h"

#include <QDir>

KovexError inUseError(const QString& path) {
    return KovexError(KovexError::PermissionDenied,
                      QStringLiteral("%1 (wird gerade von einem anderen Programm benutzt)")
                          .arg(QDir::toNativeSeparators(path)));
}
