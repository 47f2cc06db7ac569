#pragma once

#include "settings/configuration_files.h"

#include <QColor>
#include <QDropEvent>
#include <QFont>
#include <QListView>
#include <QStringListModel>

#include <memory>

// The items of a list box, read-only to the view. A very long name is shown cut short, so that
// drawing never lays out megabytes of text; the items themselves stay whole.
class NameListModel final : public QStringListModel {
public:
    using QStringListModel::QStringListModel;

    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return QStringListModel::flags(index) & ~(Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    }
    void append(const QStringList& names);
    // Tells the rows of these roles that what they say has changed.
    void refresh(const QList<int>& roles) {
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), roles);
    }

    static constexpr int kHeldRole = Qt::UserRole + 1; // QList<bool>{player, computer}
    static constexpr int kShownLength = 1000;

    QString playerHeld;
    QString computerHeld;
    std::shared_ptr<const ConfigurationFiles> files;
    QFont missingFont;
    QColor missingColour;
};

// An unsorted single-selection list of strings, each row one line high.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent);

    void AddItem(const QString& text) { m_model->append({text}); }
    void AddItems(const QStringList& texts) { m_model->append(texts); }
    // Removes the item and leaves no item selected; an index outside the items is a failure.
    void RemoveItem(int index);
    void Clear() { m_model->setStringList({}); }

    int ListCount() const { return m_model->rowCount(); }
    QString List(int index) const { return m_model->stringList().at(index); }
    // Index of the selected item, or -1.
    int ListIndex() const { return selectionModel()->selectedRows().value(0).row(); }
    // The selected item's text, or the empty text.
    QString Text() const { return ListIndex() < 0 ? QString() : List(ListIndex()); }
    QStringList items() const { return m_model->stringList(); }
    // The configurations the game holds for the player and the computer: their rows say so,
    // by the slots' marks at their ends and to a screen reader. An empty name marks none.
    void setHeld(const QString& player, const QString& computer);
    // The files in configs: a name without one is shown greyed and italic, and each row's tool
    // tip says what its file is, or that it is missing. Until they are known, nothing is marked.
    void setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files);
    // A line that an empty list shows in grey, in the list itself.
    void setEmptyHint(const QString& hint) {
        m_emptyHint = hint;
        viewport()->update();
    }
    const QString& emptyHint() const { return m_emptyHint; }

signals:
    // The right mouse button, the menu key or Shift+F10 on the list: where its menu belongs.
    void contextMenuAsked(const QPoint& globalPos);
    // Files dropped from a file manager, as local paths.
    void filesDropped(const QStringList& paths);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override { acceptAsCopy(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptAsCopy(event); }
    void dropEvent(QDropEvent* event) override;

private:
    // Local files are taken as a copy, never as a move: a file manager must not remove its
    // file, least of all one that is refused.
    static bool acceptAsCopy(QDropEvent* event);

    NameListModel* m_model;
    QString m_emptyHint;
};
