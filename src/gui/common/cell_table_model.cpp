#include "gui/common/cell_table_model.h"

namespace qeltaro::gui {

CellTableModel::CellTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CellTableModel::reset(CellSource source)
{
    beginResetModel();
    source_ = std::move(source);
    endResetModel();
}

int CellTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : source_.rows;
}

int CellTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : source_.columns;
}

QVariant CellTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= source_.rows || index.column() >= source_.columns)
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return source_.text ? source_.text(row, column) : QString();
    case Qt::BackgroundRole:
        if (source_.background) {
            if (const auto colour = source_.background(row, column))
                return *colour;
        }
        return {};
    case Qt::ForegroundRole:
        if (source_.foreground) {
            if (const auto colour = source_.foreground(row, column))
                return *colour;
        }
        return {};
    case Qt::TextAlignmentRole:
        return int(source_.alignment ? source_.alignment(column) : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CellTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < source_.columns)
        return source_.header ? source_.header(section) : QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace qeltaro::gui
