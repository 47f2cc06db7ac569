#include "list_box.h"

#include "name_list_model.h"

#include "settings/kovex_error.h"

#include <QEvent>
#include <QHeaderView>

ListBox::ListBox(QWidget* parent) : QTableView(parent), m_model(new NameListModel(this)) {
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false); // Tab moves on to the next control
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    fitRowsToFont();
}

void ListBox::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowsToFont();
}

void ListBox::fitRowsToFont() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 1);
}

void ListBox::AddItem(const QString& text) {
    m_model->append(text);
}

void ListBox::AddItems(const LineList& texts) {
    m_model->append(texts);
}

void ListBox::AddItems(const QStringList& texts) {
    m_model->append(LineList::fromStringList(texts));
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= m_model->rowCount())
        throw KovexError(KovexError::BadIndex, QString::number(index));
    m_model->removeAt(index);
    clearSelection();
    setCurrentIndex(QModelIndex());
}

void ListBox::Clear() {
    m_model->clear();
}

int ListBox::ListCount() const {
    return m_model->rowCount();
}

QString ListBox::List(int index) const {
    return m_model->lines().at(index);
}

int ListBox::ListIndex() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString ListBox::Text() const {
    const int index = ListIndex();
    return index < 0 ? QString() : List(index);
}

const LineList& ListBox::lines() const {
    return m_model->lines();
}

QStringList ListBox::items() const {
    return m_model->lines().toStringList();
}
