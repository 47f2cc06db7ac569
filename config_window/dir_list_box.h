#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

// The folder choice: the current folder's parents down from the root, the current folder,
// and its subfolders. Double-clicking a folder asks to open it.
//
// The path is kept here; the list that shows it is made when first seen or asked for. The
// window is created hidden at start-up, and a tree view is the costliest control in it.
class DirListBox : public QWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent);

    // The current folder as a full path, without a trailing separator except for a root.
    QString Path() const { return m_path; }
    // Makes an existing, readable folder current; anything else is a failure.
    void setPath(const QString& path);

    // The list as the user sees it, filled for the current folder.
    QTreeWidget* tree();

signals:
    void openRequested(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fillTree();
    void revealCurrent();

    QString m_path;
    QTreeWidget* m_tree = nullptr;
};
