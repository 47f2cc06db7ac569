#include "kovex_icon.h"

#include "kovex_icon_pixels.h"

#include <QImage>
#include <QPixmap>

QIcon kovexIcon() {
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 64; ++x) {
            const char pixel = kIconRows[y / 2][x / 2];
            line[x] = pixel == '.' ? qRgba(0, 0, 0, 0) : (0xff000000u | kIconPalette[pixel - 'a']);
        }
    }
    return QIcon(QPixmap::fromImage(image));
}
