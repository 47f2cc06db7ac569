#pragma once

#include "kovex_error.h"

// The code of the system call that just failed: errno, or on Windows GetLastError. Read it
// before anything else can change it.
long lastSystemErrorCode();

// The program's error for the system's error code, for that path. Each system's codes are
// mapped in a file of its own (file_errors_posix.cpp, file_errors_win.cpp).
KovexError systemError(const QString& path, long code);

// A file that another program holds open, as the game does with its unit files while it runs.
KovexError inUseError(const QString& path);
