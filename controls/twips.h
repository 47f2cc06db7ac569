#pragma once

#include <QWidget>

#include <optional>

// Window geometry is kept in twips; 15 twips are one pixel at 96 dpi, and Qt scales
// device-independent pixels for other screens.
constexpr int twips(int value) {
    return (value + 7) / 15;
}

// Puts the control in its place, given in twips, says how it takes the focus where that is
// given, and gives it back.
template <typename Control>
Control* placed(Control* control, int left, int top, int width, int height,
                std::optional<Qt::FocusPolicy> focus = {}) {
    if (focus)
        control->setFocusPolicy(*focus);
    control->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return control;
}
