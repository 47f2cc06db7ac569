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

// The main windows' font as this system has it: MS Sans Serif where it is installed (Windows,
// Wine), else its first substitute. Asking for the installed family directly spares the font
// system a search for fallbacks of a family it does not know, at every start. The list of
// installed families is looked up once: hasFamily would run the font system's substitution
// rules for every name asked.
static const QString& sansSerif() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        const auto isInstalled = [&](const QString& name) {
            return installed.contains(name, Qt::CaseInsensitive);
        };
        if (isInstalled(kSansSerif))
            return kSansSerif;
        for (const QString& substitute : QFont::substitutes(kSansSerif))
            if (isInstalled(substitute))
                return substitute;
        return kSansSerif;
    }();
    return family;
}

QFont standard() {
    return make(sansSerif(), 8.25, QFont::Normal);
}
QFont bold() {
    return make(sansSerif(), 9.75, QFont::Bold);
}
QFont comic() {
    return make(kComic, 8.25, QFont::Normal);
}
QFont comicBold() {
    return make(kComic, 9.75, QFont::Bold);
}

} // namespace kovex_fonts
