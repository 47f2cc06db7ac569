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
    if (m_files &&
        (role == Qt::FontRole || role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
        const QString name = m_lines.at(index.row());
        if (role == Qt::ToolTipRole)
            return m_files->describe(name);
        if (!m_files->fileOf(name).isEmpty())
            return {};
        return role == Qt::ForegroundRole ? QVariant(m_missingColour) : QVariant(m_missingFont);
    }
    if (role != kHeldRole && role != Qt::AccessibleDescriptionRole)
        return {};
    if (m_playerHeld.isNull() && m_computerHeld.isNull())
        return {};
    const QString name = m_lines.at(index.row());
    const bool player = !m_playerHeld.isNull() && name == m_playerHeld;
    const bool computer = !m_computerHeld.isNull() && name == m_computerHeld;
    if (role == kHeldRole)
        return player || computer ? QVariant::fromValue(QList<bool>{player, computer}) : QVariant();
    if (player && computer)
        return QStringLiteral("Im Spiel für Player und Computer");
    if (player || computer)
        return QStringLiteral("Im Spiel für %1").arg(player ? "Player" : "Computer");
    return {};
}

void NameListModel::setHeld(const QString& player, const QString& computer) {
    if (player == m_playerHeld && computer == m_computerHeld &&
        player.isNull() == m_playerHeld.isNull() && computer.isNull() == m_computerHeld.isNull())
        return;
    m_playerHeld = player;
    m_computerHeld = computer;
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1),
                         {kHeldRole, Qt::AccessibleDescriptionRole});
}

void NameListModel::setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files,
                                          const QFont& missingFont, const QColor& missingColour) {
    m_files = std::move(files);
    m_missingFont = missingFont;
    m_missingColour = missingColour;
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1),
                         {Qt::FontRole, Qt::ForegroundRole, Qt::ToolTipRole});
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
