#include "dir_list_box.h"

#include "files/kovex_error.h"

#include <QElapsedTimer>
#include <QStyle>
#include <QTimer>

namespace {

constexpr int kPathRole = Qt::UserRole;

QTreeWidgetItem* folderItem(const QString& name, const QString& path, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(QStringList(name));
    item->setData(0, kPathRole, path);
    item->setIcon(0, icon);
    return item;
}

// The nearest folder above a path that is not there, for showing where it would be.
QString nearestExisting(const QString& path) {
    QString folder = QDir::cleanPath(path);
    while (QDir::isAbsolutePath(folder) && !QFileInfo(folder).isDir() && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    return QFileInfo(folder).isDir() && QDir::isAbsolutePath(folder) ? folder : QDir::rootPath();
}

} // namespace

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    // Nothing folds: with items not expandable a double-click only opens the folder.
    setItemsExpandable(false);
    setIndentation(10);
    setUniformRowHeights(true);
    // One column as wide as the list: long names are cut short, never scrolled to.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit openRequested(item->data(0, kPathRole).toString());
    });
    // Starts in the program's current folder; one that has gone or cannot be read leaves the
    // root instead, so that the window always comes into being. Neither is chosen yet.
    try {
        showFolder(QDir::currentPath());
    } catch (const KovexError&) {
        showFolder(QDir::rootPath());
    }
}

void DirListBox::setPath(const QString& path) {
    const bool wasChosen = std::exchange(m_chosen, true);
    const QString before = m_path;
    showFolder(path);
    if (!wasChosen && m_path == before)
        emit pathChanged();
}

void DirListBox::confirm() {
    if (!std::exchange(m_chosen, true))
        emit pathChanged();
}

void DirListBox::setStoredPath(const QString& path) {
    try {
        setPath(path);
    } catch (const KovexError&) {
        // Kept as it was stored, so that it is what a save writes and an apply names; setPath
        // has made it chosen.
        showPath(path, true);
    }
}

void DirListBox::showFolder(const QString& path) {
    const QFileInfo info(path);
    // Windows names no folder longer than 32 767 characters (Wine takes some for folders).
    if (path.isEmpty() || path.size() > 32767 || !info.isDir())
        throw KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path));
    if (!info.isReadable())
        throw KovexError(KovexError::DeviceUnavailable, QDir::toNativeSeparators(path));
    showPath(QDir::cleanPath(info.absoluteFilePath()), false);
}

void DirListBox::showPath(const QString& path, bool missing) {
    const QString before = std::exchange(m_path, path);
    m_missing = missing;
    m_shown = false;
    if (isVisible())
        fillTree();
    if (m_path != before)
        emit pathChanged();
}

void DirListBox::showSuggested(const QString& path) {
    showFolder(path);
    tree()->currentItem()->setToolTip(
        0, QStringLiteral("Hier ist Velmora Demo Alpha installiert. Mit „OK“ übernehmen."));
}

QTreeWidget* DirListBox::tree() {
    if (!m_shown)
        fillTree();
    return this;
}

void DirListBox::showEvent(QShowEvent* event) {
    tree();
    QTreeWidget::showEvent(event);
}

void DirListBox::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    revealCurrent();
}

void DirListBox::fillTree() {
    m_shown = true;
    clear();
    m_listing.reset();
    m_subfolders.clear();
    m_filled = false;
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    // The chain of parents from the root down to the current folder.
    QStringList chain;
    for (QDir dir(m_missing ? nearestExisting(m_path) : m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    m_current = nullptr;
    for (const QString& folder : chain) {
        QTreeWidgetItem* item = folderItem(QDir(folder).isRoot() ? QDir::toNativeSeparators(folder)
                                                                 : QFileInfo(folder).fileName(),
                                           folder, open);
        m_current ? m_current->addChild(item) : addTopLevelItem(item);
        m_current = item;
    }
    if (m_missing) {
        // The stored folder, where it would be: marked as not there, and current.
        QTreeWidgetItem* missing =
            folderItem(QStringLiteral("%1 (nicht gefunden)").arg(QDir::toNativeSeparators(m_path)),
                       m_path, closed);
        m_current->addChild(missing);
        m_current = missing;
        QFont italic = missing->font(0);
        italic.setItalic(true);
        missing->setFont(0, italic);
        missing->setForeground(0, palette().color(QPalette::Disabled, QPalette::Text));
        missing->setToolTip(0,
                            QStringLiteral("Der gespeicherte Installationspfad ist nicht da: "
                                           "Laufwerk nicht eingesteckt oder Ordner verschoben?"));
    } else {
        m_listing = std::make_unique<QDirIterator>(m_path, QDir::Dirs | QDir::NoDotAndDotDot |
                                                               QDir::Hidden);
    }
    expandAll();
    setCurrentItem(m_current);
    revealCurrent();
    addSubfolders(++m_fill);
}

void DirListBox::addSubfolders(int fill) {
    // A slice at a time, so that a folder of thousands never holds up the window: what is left
    // goes on once the window has drawn and taken input. A small folder is filled at once.
    if (fill != m_fill)
        return;
    QElapsedTimer slice;
    slice.start();
    const auto later = [this, fill] {
        QTimer::singleShot(0, this, [this, fill] { addSubfolders(fill); });
    };
    while (m_listing && m_listing->hasNext()) {
        m_subfolders << QFileInfo(m_listing->next()).fileName();
        if (slice.elapsed() >= kSliceMs)
            return later();
    }
    if (m_listing) {
        m_listing.reset();
        m_subfolders.sort(Qt::CaseInsensitive);
        m_added = 0;
    }
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QList<QTreeWidgetItem*> items;
    while (m_added < m_subfolders.size() && (items.size() % 64 || slice.elapsed() < kSliceMs)) {
        const QString& name = m_subfolders[m_added++];
        items << folderItem(name, QDir(m_path).filePath(name), closed);
    }
    m_current->addChildren(items);
    m_current->setExpanded(true);
    if (m_added < m_subfolders.size())
        return later();
    m_filled = true;
}

void DirListBox::revealCurrent() {
    // Parents first: from the top, as far down as the current folder needs.
    scrollToTop();
    if (currentItem())
        scrollToItem(currentItem(), QAbstractItemView::EnsureVisible);
}
