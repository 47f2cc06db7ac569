#pragma once

#include <QFont>

// The windows name their historic fonts; substitutes map them to fonts this system has.
namespace kovex_fonts {

// Fonts beside the program (the Linux bundle carries the two the windows use) come first.
void installSubstitutes(const QString& bundledFonts);
QFont font(const QString& family, qreal points, QFont::Weight weight = QFont::Normal);

inline QFont standard() {
    return font(QStringLiteral("MS Sans Serif"), 8.25);
}
inline QFont bold() {
    return font(QStringLiteral("MS Sans Serif"), 9.75, QFont::Bold);
}
inline QFont comic() {
    return font(QStringLiteral("Comic Sans MS"), 8.25);
}
inline QFont comicBold() {
    return font(QStringLiteral("Comic Sans MS"), 9.75, QFont::Bold);
}

} // namespace kovex_fonts
