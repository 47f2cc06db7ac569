#include "name_list_model.h"

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    if (role == Qt::DisplayRole) {
        const QString shown = m_lines.head(index.row(), kShownLength + 1);
        return shown.size() > kShownLength ? shown.first(kShownLength) + QChar(0x2026) : shown;
    }
    if (role == Qt::EditRole)
        return m_lines.at(index.row());
    return {};
}

void NameListModel::append(const QString& line) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_lines.append(line);
    endInsertRows();
}

void NameListModel::append(const LineList& lines) {
    if (lines.isEmpty())
        return;
    if (m_lines.isEmpty()) {
        // Shares the buffer: both windows' lists hold one copy of the names.
        beginResetModel();
        m_lines = lines;
        endResetModel();
        return;
    }
    const int row = rowCount();
    beginInsertRows({}, row, row + static_cast<int>(lines.size()) - 1);
    m_lines.append(lines);
    endInsertRows();
}

void NameListModel::removeAt(int row) {
    beginRemoveRows({}, row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}

void NameListModel::clear() {
    beginResetModel();
    m_lines = LineList();
    endResetModel();
}
