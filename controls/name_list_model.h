#pragma once

#include "settings/configuration_files.h"

#include <QColor>
#include <QFont>
#include <QStringListModel>

#include <memory>

// The items of a list box, read-only to the view. Very long names are shown cut short, so that
// drawing never lays out megabytes of text; the items themselves stay whole.
class NameListModel final : public QStringListModel {
public:
    using QStringListModel::QStringListModel;

    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void append(const QStringList& names);
    // The names of the configurations the game holds for the player and the computer; their
    // rows say so (kHeldRole: which slots, by the slots' colours; and to a screen reader).
    void setHeld(const QString& player, const QString& computer);
    static constexpr int kHeldRole = Qt::UserRole + 1; // QList<bool>{player, computer}
    // The files in configs: a name without one is shown greyed and italic, and each row's tool
    // tip says what its file is, or that it is missing. Until they are known, nothing is marked.
    void setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files,
                               const QFont& missingFont, const QColor& missingColour);

    static constexpr int kShownLength = 1000;

private:
    QString m_playerHeld;
    QString m_computerHeld;
    std::shared_ptr<const ConfigurationFiles> m_files;
    QFont m_missingFont;
    QColor m_missingColour;
};
