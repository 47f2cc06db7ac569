#include "list_box.h"

#include "settings/kovex_error.h"

#include <QStringListModel>

namespace {

// Shows very long names cut short, so that drawing a list never lays out megabytes of text;
// the items themselves stay whole.
class NameListModel final : public QStringListModel {
public:
    using QStringListModel::QStringListModel;
    QVariant data(const QModelIndex& index, int role) const override {
        QVariant value = QStringListModel::data(index, role);
        if (role == Qt::DisplayRole) {
            const QString text = value.toString();
            if (text.size() > kShownLength)
                return QVariant(text.left(kShownLength) + QChar(0x2026));
        }
        return value;
    }
    static constexpr int kShownLength = 1000;
};

} // namespace

ListBox::ListBox(QWidget* parent) : QListView(parent), m_model(new NameListModel(this)) {
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setDragEnabled(false);
}

void ListBox::AddItem(const QString& text) {
    const int row = m_model->rowCount();
    m_model->insertRows(row, 1);
    m_model->setData(m_model->index(row), text);
}

void ListBox::AddItems(const QStringList& texts) {
    if (m_model->rowCount() == 0) {
        m_model->setStringList(texts);
        return;
    }
    m_model->setStringList(m_model->stringList() + texts);
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= m_model->rowCount())
        throw KovexError(KovexError::BadIndex, QString::number(index));
    m_model->removeRows(index, 1);
    clearSelection();
    setCurrentIndex(QModelIndex());
}

void ListBox::Clear() {
    m_model->setStringList({});
}

int ListBox::ListCount() const {
    return m_model->rowCount();
}

QString ListBox::List(int index) const {
    return m_model->data(m_model->index(index), Qt::EditRole).toString();
}

int ListBox::ListIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString ListBox::Text() const {
    const int index = ListIndex();
    return index < 0 ? QString() : List(index);
}

QStringList ListBox::items() const {
    return m_model->stringList();
}
