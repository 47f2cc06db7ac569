#include "accessibility.h"

#include "static_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// A caption reads as its text; one with an accessible name of its own stands for a value, such
// as a slot: the name says what it is, the text is the value.
class StaticLabelAccessible final : public QAccessibleWidget {
public:
    explicit StaticLabelAccessible(StaticLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        const QString own = widget()->accessibleName();
        const QString caption = static_cast<StaticLabel*>(widget())->text();
        if (t == QAccessible::Name)
            return own.isEmpty() ? caption : own;
        if (t == QAccessible::Value)
            return own.isEmpty() ? QString() : caption;
        return QAccessibleWidget::text(t);
    }
};

// Asked with each class name of an object, the most derived first, before Qt's own.
QAccessibleInterface* kovexAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("StaticLabel"))
        return new StaticLabelAccessible(static_cast<StaticLabel*>(object));
    return nullptr;
}

} // namespace

void installAccessibility() {
    // Qt installs a factory once, however often it is given.
    QAccessible::installFactory(kovexAccessible);
}
