#include "gui/trend/trend_grid_model.h"

#include <QColor>
#include <QFont>

namespace qeltaro::gui {

void TrendGridModel::setPage(TrendPage page)
{
    beginResetModel();
    page_ = std::move(page);
    endResetModel();
}

int TrendGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !page_ ? 0 : page_->rowCount();
}

int TrendGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !page_ ? 0 : page_->columnCount();
}

QVariant TrendGridModel::data(const QModelIndex& index, int role) const
{
    if (!page_ || !index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    const bool drawn = page_->isDrawn(row, column);
    const bool statistic = page_->isStatisticRow(row);
    switch (role) {
    case Qt::DisplayRole:
        return page_->text(row, column);
    case Qt::TextAlignmentRole:
        return statistic && column == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (drawn) {
            const Rgb fill = page_->drawnFill(column);
            return QColor(fill.red, fill.green, fill.blue);
        }
        if (statistic)
            return QColor(236, 238, 242);
        // Every other chart on a faint tint, so the charts stand apart.
        return page_->chartOfColumn(column) % 2 == 1 ? QColor(246, 248, 252) : QVariant();
    case Qt::ForegroundRole:
        if (drawn)
            return QColor(Qt::white);
        return !statistic && column >= TrendPage::kLeadingColumns ? QColor(150, 150, 150) : QVariant();
    case Qt::FontRole:
        if (drawn) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant TrendGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!page_ || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole: return page_->header(section);
    case kChartRole: return page_->chartOfColumn(section);
    case kChartTitleRole: {
        const int chart = page_->chartOfColumn(section);
        return chart < 0 ? QString() : page_->groupTitle(section - page_->valueOfColumn(section));
    }
    default: return QAbstractTableModel::headerData(section, orientation, role);
    }
}

}  // namespace qeltaro::gui
