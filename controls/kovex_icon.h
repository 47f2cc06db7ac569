#pragma once

#include <QIcon>

// The program's icon as its windows show it (64x64), made from its pixels.
QIcon kovexIcon();
