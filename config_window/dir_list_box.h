#pragma once

#include <QTreeWidget>

// The folder choice: the current folder's parents down from the root, the current folder,
// and its subfolders. Double-clicking a folder asks to open it.
class DirListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent);

    // The current folder as a full path, without a trailing separator except for a root.
    QString Path() const { return m_path; }
    // Makes an existing, readable folder current; anything else is a failure.
    void setPath(const QString& path);

signals:
    void openRequested(const QString& path);

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showTree();
    void revealCurrent();

    QString m_path;
    bool m_treeShown = false;
};
