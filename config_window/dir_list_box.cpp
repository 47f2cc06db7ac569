#include "dir_list_box.h"

#include "files/kovex_error.h"
#include "files/system_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTreeWidget>

namespace {

constexpr int kPathRole = Qt::UserRole;

QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, QTreeWidget* tree, const QString& name,
                           const QString& path, const QIcon& icon) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, name);
    item->setData(0, kPathRole, path);
    item->setIcon(0, icon);
    return item;
}

// The list itself: folders in one column, without branch marks to fold them.
class FolderTree final : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent) : QTreeWidget(parent) {
        setHeaderHidden(true);
        setColumnCount(1);
        setRootIsDecorated(false);
        setItemsExpandable(false);
        setExpandsOnDoubleClick(false);
        setIndentation(10);
        setUniformRowHeights(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

signals:
    void resized();

protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void resizeEvent(QResizeEvent* event) override {
        QTreeWidget::resizeEvent(event);
        emit resized();
    }
};

} // namespace

DirListBox::DirListBox(QWidget* parent) : QWidget(parent) {
    // Starts in the program's current folder; one that has gone or cannot be read leaves the
    // root instead, so that the window always comes into being. Neither is chosen yet.
    try {
        showFolder(QDir::currentPath());
    } catch (const KovexError&) {
        showFolder(QDir::rootPath());
    }
}

void DirListBox::setPath(const QString& path) {
    const bool wasChosen = m_chosen;
    m_chosen = true;
    const QString before = m_path;
    showFolder(path);
    if (!wasChosen && m_path == before)
        emit pathChanged();
}

void DirListBox::confirm() {
    if (m_chosen)
        return;
    m_chosen = true;
    emit pathChanged();
}

void DirListBox::setStoredPath(const QString& path) {
    try {
        setPath(path);
    } catch (const KovexError&) {
        // Kept as it was stored, so that it is what a save writes and an apply names.
        const bool changed = m_path != path || !m_chosen;
        m_path = path;
        m_missing = true;
        m_chosen = true;
        if (m_tree)
            fillTree();
        if (changed)
            emit pathChanged();
    }
}

void DirListBox::showFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || path.size() > system_files::longestPath() || !info.isDir())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path));
    if (!info.isReadable())
        throw KovexError(KovexError::DeviceUnavailable, QDir::toNativeSeparators(path));
    const QString before = m_path;
    m_path = QDir::cleanPath(info.absoluteFilePath());
    m_missing = false;
    if (m_tree)
        fillTree();
    if (m_path != before)
        emit pathChanged();
}

void DirListBox::showSuggested(const QString& path) {
    showFolder(path);
    if (m_tree && m_tree->currentItem())
        m_tree->currentItem()->setToolTip(
            0, QStringLiteral("Hier ist Velmora Demo Alpha installiert. Mit „OK“ übernehmen."));
}

QTreeWidget* DirListBox::tree() {
    if (!m_tree) {
        // Set before anything else: showing the list already sends it its size.
        auto* folders = new FolderTree(this);
        m_tree = folders;
        folders->setGeometry(rect());
        // What the window set on the folder choice holds for the list in it.
        folders->setFocusPolicy(focusPolicy());
        folders->setAccessibleName(accessibleName());
        folders->setAccessibleDescription(accessibleDescription());
        setFocusProxy(folders);
        connect(folders, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
            emit openRequested(item->data(0, kPathRole).toString());
        });
        connect(folders, &FolderTree::resized, this, &DirListBox::revealCurrent);
        folders->show();
        fillTree();
    }
    return m_tree;
}

void DirListBox::showEvent(QShowEvent* event) {
    tree();
    QWidget::showEvent(event);
}

void DirListBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_tree)
        m_tree->setGeometry(rect());
}

// The nearest folder above a path that is not there, for showing where it would be.
QString DirListBox::nearestExisting(const QString& path) {
    if (!QDir::isAbsolutePath(path))
        return QDir::rootPath();
    QString folder = QDir::cleanPath(path);
    while (!QFileInfo(folder).isDir() && !QDir(folder).isRoot()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QFileInfo(folder).isDir() ? folder : QDir::rootPath();
}

void DirListBox::fillTree() {
    QTreeWidget* tree = m_tree;
    tree->clear();
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QString shown = m_missing ? nearestExisting(m_path) : m_path;

    // The chain of parents from the root down to the current folder.
    QStringList chain;
    for (QDir dir(shown);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem* item = nullptr;
    for (const QString& folder : chain) {
        const QString name =
            QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        item = addFolder(item, tree, name, folder, open);
    }
    QTreeWidgetItem* current = item;

    if (m_missing) {
        // The stored folder, where it would be: marked as not there, and current.
        const QString missing =
            QStringLiteral("%1 (nicht gefunden)").arg(QDir::toNativeSeparators(m_path));
        current = addFolder(current, tree, missing, m_path, closed);
        QFont italic = current->font(0);
        italic.setItalic(true);
        current->setFont(0, italic);
        current->setForeground(0, palette().color(QPalette::Disabled, QPalette::Text));
        current->setToolTip(0,
                            QStringLiteral("Der gespeicherte Installationspfad ist nicht da: "
                                           "Laufwerk nicht eingesteckt oder Ordner verschoben?"));
    } else {
        const QDir dir(m_path);
        const QStringList subfolders = dir.entryList(
            QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        for (const QString& name : subfolders)
            addFolder(current, tree, name, dir.filePath(name), closed);
    }

    tree->expandAll();
    tree->setCurrentItem(current);
    revealCurrent();
}

void DirListBox::revealCurrent() {
    // Parents first: from the top, as far down as the current folder needs.
    m_tree->scrollToTop();
    if (QTreeWidgetItem* current = m_tree->currentItem())
        m_tree->scrollToItem(current, QAbstractItemView::EnsureVisible);
}

#include "dir_list_box.moc"
