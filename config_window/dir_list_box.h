#pragma once

#include <QDirIterator>
#include <QTreeWidget>

#include <memory>

// The folder choice: the current folder's parents down from the root, the current folder,
// and its subfolders, in one column without branch marks. Opening a folder (a double-click or
// Enter) asks to make it current.
//
// The path is kept here; the list shows it once it is seen or asked for: the window is created
// hidden at start-up.
class DirListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent);

    // The current folder as a full path, without a trailing separator except for a root; or
    // a stored folder that is not there now, as it was stored.
    QString Path() const { return m_path; }
    // Makes an existing, readable folder current, and the chosen game folder; anything else is
    // a failure.
    void setPath(const QString& path);
    // The game folder as stored: current where it can be, else kept all the same (isMissing),
    // shown where it would be, until another is chosen.
    void setStoredPath(const QString& path);
    // Whether the stored folder is not there now.
    bool isMissing() const { return m_missing; }
    // Whether a game folder was chosen or stored at all; at first the list only shows the
    // program's current folder.
    bool isChosen() const { return m_chosen; }
    // The folder shown becomes the chosen game folder, as the user confirms it.
    void confirm();
    // Shows a game folder found for the user, who confirms it or opens another; it is not chosen
    // until then.
    void showSuggested(const QString& path);

    // The list as the user sees it, shown for the current folder.
    QTreeWidget* tree();
    // Whether the list shows all subfolders of the current folder yet: a large folder's are
    // added a slice at a time.
    bool isFilled() const { return m_filled; }

signals:
    void openRequested(const QString& path);
    // Path() is another folder now, or the folder shown became the chosen one.
    void pathChanged();

protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showFolder(const QString& path);
    // Makes the path current, there or missing, and shows it once the list is seen.
    void showPath(const QString& path, bool missing);
    void fillTree();
    void addSubfolders(int fill);
    void revealCurrent();

    QString m_path;
    bool m_missing = false;
    bool m_chosen = false;
    bool m_shown = false; // whether the list shows the path

    // The subfolders being listed and added.
    static constexpr int kSliceMs = 10;
    std::unique_ptr<QDirIterator> m_listing;
    QStringList m_subfolders;
    qsizetype m_added = 0;
    QTreeWidgetItem* m_current = nullptr;
    int m_fill = 0; // which fill is under way
    bool m_filled = false;
};
