#pragma once

#include <QTableView>

class LineList;
class NameListModel;

// An unsorted single-selection list of strings. A one-column table with fixed row heights lays
// out in constant time, and the names share one buffer, so lists of a hundred thousand names
// show without a stall.
class ListBox : public QTableView {
    Q_OBJECT // its own class name, so that its accessibility is ours (a list, not a table)
        public : explicit ListBox(QWidget* parent);

    void AddItem(const QString& text);
    void AddItems(const LineList& texts);
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
    const LineList& lines() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitRowsToFont();

    NameListModel* m_model;
};
