#pragma once

#include <QFont>

// The windows name their historic fonts; substitutes map them to fonts this system has.
namespace kovex_fonts {

void installSubstitutes();

QFont standard();  // MS Sans Serif 8.25 pt
QFont bold();      // MS Sans Serif 9.75 pt, weight 700
QFont comic();     // Comic Sans MS 8.25 pt
QFont comicBold(); // Comic Sans MS 9.75 pt, weight 700

} // namespace kovex_fonts
