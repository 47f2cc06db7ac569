#pragma once

#include <QWidget>

// Window geometry is kept in twips; 15 twips are one pixel at 96 dpi, and Qt scales
// device-independent pixels for other screens.
constexpr int twips(int value) {
    return (value + 7) / 15;
}

// Puts the control in its place, given in twips, and gives it back.
template <typename Control>
Control* placed(Control* control, int left, int top, int width, int height) {
    control->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return control;
}

// The same, and says how the control takes the focus.
template <typename Control>
Control* placed(Control* control, int left, int top, int width, int height, Qt::FocusPolicy focus) {
    control->setFocusPolicy(focus);
    return placed(control, left, top, width, height);
}
