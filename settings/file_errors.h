#pragma once

#include "kovex_error.h"

class QFileDevice;

// Turns a failed QFile operation into the program's error for that path.
KovexError fileError(const QFileDevice& file, const QString& path);

// The error of the system call that just failed, for that path; Qt folds a full disk and a
// missing file into a plain write or open error, errno tells them apart. Without a telling
// errno, the file's own error decides.
KovexError systemError(const QString& path, const QFileDevice* file = nullptr);

// A file that another program holds open, as the game does with its unit files while it runs.
KovexError inUseError(const QString& path);

#ifdef Q_OS_WIN
// The error of the Windows call that just failed with the code (GetLastError), for that path.
KovexError windowsError(const QString& path, unsigned long code);
#endif
