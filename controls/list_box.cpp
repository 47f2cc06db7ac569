#include "list_box.h"

#include "files/kovex_error.h"

#include <QContextMenuEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QUrl>

namespace {

// Every row is one line of the list's font high, whatever its name. A configuration the game
// holds says so at the row's end, in its slot's colour: "Player" green, "Computer" red.
class RowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), option.fontMetrics.height() + 1);
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QList<bool> held = index.data(NameListModel::kHeldRole).value<QList<bool>>();
        if (held.size() != 2)
            return;
        const QString marks[2] = {QStringLiteral("Player"), QStringLiteral("Computer")};
        const QColor colours[2] = {QColor(0, 128, 0), QColor(255, 0, 0)};
        int right = option.rect.right() - 2;
        painter->save();
        for (int slot = 1; slot >= 0; --slot) {
            if (!held[slot])
                continue;
            const int width = option.fontMetrics.horizontalAdvance(marks[slot]) + 4;
            const QRect box(right - width + 1, option.rect.top(), width, option.rect.height());
            const bool selected = option.state & QStyle::State_Selected;
            painter->fillRect(
                box, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
            painter->setPen(colours[slot]);
            painter->drawText(box, Qt::AlignCenter, marks[slot]);
            right -= width;
        }
        painter->restore();
    }
};

} // namespace

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    const QString name = QStringListModel::data(index, Qt::EditRole).toString();
    if (role == Qt::DisplayRole)
        return ConfigurationFiles::shortened(name, kShownLength);
    if (role == Qt::ToolTipRole && files)
        return files->describe(name);
    if ((role == Qt::FontRole || role == Qt::ForegroundRole) && files &&
        files->fileOf(name).isEmpty())
        return role == Qt::ForegroundRole ? QVariant(missingColour) : QVariant(missingFont);
    const bool player = !playerHeld.isEmpty() && name == playerHeld;
    const bool computer = !computerHeld.isEmpty() && name == computerHeld;
    if (role == kHeldRole && (player || computer))
        return QVariant::fromValue(QList<bool>{player, computer});
    if (role == Qt::AccessibleDescriptionRole && (player || computer))
        return player && computer
                   ? QStringLiteral("Im Spiel für Player und Computer")
                   : QStringLiteral("Im Spiel für %1").arg(player ? "Player" : "Computer");
    return role == Qt::EditRole ? QVariant(name) : QVariant();
}

void NameListModel::append(const QStringList& names) {
    const int row = rowCount();
    insertRows(row, int(names.size()));
    for (int i = 0; i < names.size(); ++i)
        setData(index(row + i), names[i]);
}

ListBox::ListBox(QWidget* parent) : QListView(parent), m_model(new NameListModel(this)) {
    setItemDelegate(new RowDelegate(this));
    setUniformItemSizes(true);
    setModel(m_model);
    // One column of rows that the model lets no one edit.
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= m_model->rowCount())
        throw KovexError(KovexError::BadIndex, QString::number(index));
    m_model->removeRows(index, 1);
    clearSelection();
    setCurrentIndex(QModelIndex());
}

void ListBox::setHeld(const QString& player, const QString& computer) {
    m_model->playerHeld = player;
    m_model->computerHeld = computer;
    m_model->refresh({NameListModel::kHeldRole, Qt::AccessibleDescriptionRole});
}

void ListBox::setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files) {
    m_model->files = std::move(files);
    m_model->missingFont = font();
    m_model->missingFont.setItalic(true);
    m_model->missingColour = palette().color(QPalette::Disabled, QPalette::Text);
    m_model->refresh({Qt::FontRole, Qt::ForegroundRole, Qt::ToolTipRole});
}

void ListBox::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (m_model->rowCount() > 0 || m_emptyHint.isEmpty())
        return;
    QPainter painter(viewport());
    // A grey between the text and the list's background, near enough to the text to read at
    // 4.5 : 1 on a light list or a dark one (#757575 on white), where the disabled grey gives 1.9.
    const QColor text = palette().color(QPalette::Text), base = palette().color(QPalette::Base);
    const auto mix = [](float t, float b) { return b + (t - b) * 0.54f; };
    painter.setPen(QColor::fromRgbF(mix(text.redF(), base.redF()),
                                    mix(text.greenF(), base.greenF()),
                                    mix(text.blueF(), base.blueF())));
    painter.drawText(viewport()->rect().adjusted(2, 1, -1, -1),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_emptyHint);
}

namespace {

// Where a list's menu opens from the keyboard: below the current row, or at the list's top.
QPoint menuPlace(const ListBox& list) {
    const QRect row = list.visualRect(list.currentIndex());
    return list.viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
}

// The local files among dropped URLs; none where any is not one.
QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

bool ListBox::acceptAsCopy(QDropEvent* event) {
    if (localFiles(event->mimeData()).isEmpty() || !(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void ListBox::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuAsked(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                      : menuPlace(*this));
    event->accept();
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    // Where the system sends no context menu for it (a click made by a program), the release
    // itself asks, as Windows does; the menu opens once.
    if (event->button() == Qt::RightButton)
        emit contextMenuAsked(event->globalPosition().toPoint());
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    // The system sends some of these as a context menu; the offscreen platform and others do
    // not.
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey)
        return QListView::keyPressEvent(event);
    emit contextMenuAsked(menuPlace(*this));
    event->accept();
}

void ListBox::dropEvent(QDropEvent* event) {
    if (acceptAsCopy(event))
        emit filesDropped(localFiles(event->mimeData()));
}
