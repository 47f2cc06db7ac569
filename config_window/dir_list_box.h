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

    // The list as the user sees it, filled for the current folder.
    QTreeWidget* tree();

signals:
    void openRequested(const QString& path);
    // Path() is another folder now, or the folder shown became the chosen one.
    void pathChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showFolder(const QString& path);
    void fillTree();
    void revealCurrent();
    static QString nearestExisting(const QString& path);

    QString m_path;
    bool m_missing = false;
    bool m_chosen = false;
    QTreeWidget* m_tree = nullptr;
};
