#include "dir_list_box.h"

#include "settings/kovex_error.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;

constexpr bool isWindows() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, QTreeWidget* tree, const QString& name,
                           const QString& path, const QIcon& icon) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, name);
    item->setData(0, kPathRole, path);
    item->setIcon(0, icon);
    return item;
}

} // namespace

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(10);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit openRequested(item->data(0, kPathRole).toString());
    });
    // Starts in the program's current folder; one that has gone or cannot be read leaves the
    // root instead, so that the window always comes into being.
    try {
        setPath(QDir::currentPath());
    } catch (const KovexError&) {
        setPath(QDir::rootPath());
    }
}

void DirListBox::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {
    // A folder list, not a tree to fold: no branch marks.
}

void DirListBox::setPath(const QString& path) {
    const QFileInfo info(path);
    // Windows names no folder longer than this (Wine takes some for folders all the same).
    constexpr qsizetype kLongestWindowsPath = 32767;
    if (path.isEmpty() || (isWindows() && path.size() > kLongestWindowsPath) || !info.isDir())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path));
    if (!info.isReadable())
        throw KovexError(KovexError::DeviceUnavailable, QDir::toNativeSeparators(path));
    m_path = QDir::cleanPath(info.absoluteFilePath());
    // The tree waits until it is seen: the window is created hidden at start-up.
    m_treeShown = false;
    if (isVisible())
        showTree();
}

void DirListBox::showEvent(QShowEvent* event) {
    if (!m_treeShown)
        showTree();
    QTreeWidget::showEvent(event);
}

void DirListBox::showTree() {
    m_treeShown = true;
    clear();
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);

    // The chain of parents from the root down to the current folder.
    QStringList chain;
    for (QDir dir(m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem* item = nullptr;
    for (const QString& folder : chain) {
        const QString name =
            QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        item = addFolder(item, this, name, folder, open);
    }
    QTreeWidgetItem* current = item;

    const QDir dir(m_path);
    const QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                                 QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders)
        addFolder(current, this, name, dir.filePath(name), closed);

    expandAll();
    setCurrentItem(current);
    revealCurrent();
}

void DirListBox::revealCurrent() {
    // Parents first: from the top, as far down as the current folder needs.
    scrollToTop();
    if (QTreeWidgetItem* current = currentItem())
        scrollToItem(current, QAbstractItemView::EnsureVisible);
}

void DirListBox::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    revealCurrent();
}
