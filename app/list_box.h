#pragma once

#include <QListView>

class QStringListModel;

// An unsorted single-selection list of strings. Backed by a string model so that lists of
// a hundred thousand names load without per-item widgets.
class ListBox : public QListView {
public:
    explicit ListBox(QWidget* parent);

    void AddItem(const QString& text);
    void AddItems(const QStringList& texts);
    // Removes the item and leaves no item selected; an index outside the items is a failure.
    void RemoveItem(int index);
    void Clear();

    int ListCount() const;
    QString List(int index) const;
    // Index of the selected item, or -1.
    int ListIndex() const;
    // The selected item's text, or the empty text.
    QString Text() const;
    QStringList items() const;

private:
    QStringListModel* m_model;
};
