#include "name_list_model.h"

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const QString name = QStringListModel::data(index, Qt::EditRole).toString();
    if (role == Qt::DisplayRole)
        return ConfigurationFiles::shortened(name, kShownLength);
    if (role == Qt::EditRole)
        return name;
    if (m_files &&
        (role == Qt::FontRole || role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
        if (role == Qt::ToolTipRole)
            return m_files->describe(name);
        if (!m_files->fileOf(name).isEmpty())
            return {};
        return role == Qt::ForegroundRole ? QVariant(m_missingColour) : QVariant(m_missingFont);
    }
    if (role != kHeldRole && role != Qt::AccessibleDescriptionRole)
        return {};
    const bool player = !m_playerHeld.isEmpty() && name == m_playerHeld;
    const bool computer = !m_computerHeld.isEmpty() && name == m_computerHeld;
    if (role == kHeldRole)
        return player || computer ? QVariant::fromValue(QList<bool>{player, computer}) : QVariant();
    if (player && computer)
        return QStringLiteral("Im Spiel für Player und Computer");
    if (player || computer)
        return QStringLiteral("Im Spiel für %1").arg(player ? "Player" : "Computer");
    return {};
}

Qt::ItemFlags NameListModel::flags(const QModelIndex& index) const {
    return QStringListModel::flags(index) &
           ~(Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
}

void NameListModel::append(const QStringList& names) {
    if (rowCount() == 0) {
        setStringList(names);
        return;
    }
    const int row = rowCount();
    insertRows(row, int(names.size()));
    for (int i = 0; i < names.size(); ++i)
        setData(index(row + i), names[i]);
}

void NameListModel::setHeld(const QString& player, const QString& computer) {
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
