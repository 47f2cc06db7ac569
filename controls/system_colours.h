#pragma once

#include <QColor>
#include <QPalette>

namespace system_colours {

// The text colour of an inactive window's title bar. Windows names it (COLOR_INACTIVECAPTIONTEXT);
// elsewhere the muted grey that the palette gives inactive text stands in.
QColor inactiveTitleBarText(const QPalette& palette);

} // namespace system_colours
