#include "kovex_fonts.h"

#include <QDir>
#include <QFontDatabase>

namespace kovex_fonts {

void installSubstitutes(const QString& bundledFonts) {
    const QDir folder(bundledFonts);
    for (const QString& name : folder.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")}))
        QFontDatabase::addApplicationFont(folder.filePath(name));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("MS Sans Serif")});
}

QFont font(const QString& family, qreal points, QFont::Weight weight) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(weight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace kovex_fonts
