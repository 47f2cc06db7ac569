#include "system_colours.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace system_colours {

QColor inactiveTitleBarText(const QPalette& palette) {
#ifdef Q_OS_WIN
    Q_UNUSED(palette);
    const DWORD colour = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
#else
    return palette.color(QPalette::Disabled, QPalette::WindowText);
#endif
}

} // namespace system_colours
