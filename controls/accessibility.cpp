#include "accessibility.h"

#include "list_box.h"
#include "static_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace {

class ListBoxItemAccessible final : public QAccessibleInterface {
public:
    ListBoxItemAccessible(ListBox* list, int row) : m_list(list), m_row(row) {}

    bool isValid() const override { return m_list && m_row < m_list->ListCount(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_list.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return {};
        return m_list->model()->index(m_row, 0).data().toString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = m_list->visualRect(m_list->model()->index(m_row, 0));
        return QRect(m_list->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isValid() && m_list->ListIndex() == m_row;
        return s;
    }

private:
    QPointer<ListBox> m_list;
    int m_row;
};

// The list and its items; the items' interfaces are kept until the names change.
class ListBoxAccessible final : public QAccessibleWidget {
public:
    explicit ListBoxAccessible(ListBox* list) : QAccessibleWidget(list, QAccessible::List) {
        QAbstractItemModel* model = list->model();
        const auto forget = [this] { forgetItems(); };
        m_connections << QObject::connect(model, &QAbstractItemModel::modelReset, list, forget)
                      << QObject::connect(model, &QAbstractItemModel::layoutChanged, list, forget)
                      << QObject::connect(model, &QAbstractItemModel::rowsInserted, list, forget)
                      << QObject::connect(model, &QAbstractItemModel::rowsRemoved, list, forget);
    }
    ~ListBoxAccessible() override {
        for (const auto& connection : m_connections)
            QObject::disconnect(connection);
        forgetItems();
    }

    int childCount() const override { return list()->ListCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto it = m_items.constFind(index); it != m_items.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* item = new ListBoxItemAccessible(list(), index);
        m_items.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = m_items.constBegin(); it != m_items.constEnd(); ++it)
            if (QAccessible::accessibleInterface(*it) == child)
                return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = list()->indexAt(local);
        return index.isValid() ? child(index.row()) : nullptr;
    }

private:
    ListBox* list() const { return static_cast<ListBox*>(widget()); }
    void forgetItems() {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
        m_items.clear();
    }

    mutable QHash<int, QAccessible::Id> m_items;
    QList<QMetaObject::Connection> m_connections;
};

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
    if (className == QLatin1String("ListBox"))
        return new ListBoxAccessible(static_cast<ListBox*>(object));
    if (className == QLatin1String("StaticLabel"))
        return new StaticLabelAccessible(static_cast<StaticLabel*>(object));
    return nullptr;
}

} // namespace

void installAccessibility() {
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(kovexAccessible);
    installed = true;
}
