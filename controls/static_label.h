#pragma once

#include <QLabel>

// A plain caption: left-aligned, opaque, no border, no mnemonics, wraps at word boundaries
// within its width; what does not fit its height is cut off.
class StaticLabel : public QLabel {
    Q_OBJECT // its own class name, so that its accessibility is ours
        public : StaticLabel(const QString& text, const QFont& font, QWidget* parent);
};
