#include "kovex_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QFont make(const QString& family, qreal points, int weight) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kComic = QStringLiteral("Comic Sans MS");

} // namespace

namespace kovex_fonts {

void installSubstitutes() {
    QFont::insertSubstitutions(kSansSerif,
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(kComic, {QStringLiteral("Comic Neue"), kSansSerif});
}

QFont standard() {
    return make(kSansSerif, 8.25, QFont::Normal);
}
QFont bold() {
    return make(kSansSerif, 9.75, QFont::Bold);
}
QFont comic() {
    return make(kComic, 8.25, QFont::Normal);
}
QFont comicBold() {
    return make(kComic, 9.75, QFont::Bold);
}

} // namespace kovex_fonts
