#pragma once

#include <QWidget>

// Window geometry is kept in twips; 15 twips are one pixel at 96 dpi, and Qt scales
// device-independent pixels for other screens.
constexpr int twips(int value) {
    return (value + 7) / 15;
}

inline void placeTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}
