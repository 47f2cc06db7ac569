#pragma once

#include <QString>

// The folder of the program's executable, as a path that the file calls take: the settings and
// configurations live beside the executable. Each system's way is in a file of its own
// (application_folder_posix.cpp, application_folder_win.cpp).
QString applicationFolder();
