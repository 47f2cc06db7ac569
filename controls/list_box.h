#pragma once

#include <QListView>

#include <memory>

class ConfigurationFiles;
class NameListModel;

// An unsorted single-selection list of strings, each row one line high.
class ListBox : public QListView {
    Q_OBJECT
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
    // The configurations the game holds for the player and the computer, marked in their rows;
    // a null name marks none.
    void setHeld(const QString& player, const QString& computer);

    // The files in configs, for marking names without one and for the rows' tool tips.
    void setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files);
    // A line that an empty list shows in grey, in the list itself.
    void setEmptyHint(const QString& hint);
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
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    NameListModel* m_model;
    QString m_emptyHint;
};
