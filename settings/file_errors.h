#pragma once

#include "kovex_error.h"

class QFileDevice;

// Turns a failed QFile operation into the program's error for that path.
KovexError fileError(const QFileDevice& file, const QString& path);
