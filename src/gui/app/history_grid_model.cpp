#include "gui/app/history_grid_model.h"

#include "backtest/hit_rule.h"
#include "gui/app/grid_colours.h"

#include <QFont>

namespace qeltaro::gui {

HistoryGridModel::HistoryGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void HistoryGridModel::setHistory(const HistoryColumns* history, const Category& category)
{
    beginResetModel();
    history_ = history;
    verification_.clear();
    tested_.assign(6, false);
    for (int p : testedPositions(category))
        tested_[size_t(p)] = true;
    endResetModel();
}

void HistoryGridModel::setCategory(const Category& category)
{
    tested_.assign(6, false);
    for (int p : testedPositions(category))
        tested_[size_t(p)] = true;
    if (rowCount() > 0)
        emit dataChanged(index(0, 1), index(rowCount() - 1, 5));
}

void HistoryGridModel::setVerification(std::vector<VerificationColumn> columns, bool showOnCurrentRow)
{
    beginResetModel();
    verification_ = std::move(columns);
    showOnCurrentRow_ = showOnCurrentRow;
    endResetModel();
}

void HistoryGridModel::clearVerification()
{
    if (verification_.empty())
        return;
    beginResetModel();
    verification_.clear();
    endResetModel();
}

QString HistoryGridModel::formulaHeader(int k)
{
    return (k < 100 ? QStringLiteral("公式") : QStringLiteral("式")) + QString::number(k);
}

int HistoryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !history_ ? 0 : history_->rowCount();
}

int HistoryGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 6 + int(verification_.size());
}

QVariant HistoryGridModel::verificationData(int row, int formula, int role) const
{
    const VerificationColumn& column = verification_[size_t(formula)];
    // "显示在下期": row r shows the digit predicted for it; "显示在当期": row r shows the digit its
    // own draw gives for the next row, coloured by the next row's result.
    const int shown = showOnCurrentRow_ ? row + 1 : row;
    const bool blank = !showOnCurrentRow_ && row == 0;
    const bool uncoloured = blank || shown >= int(column.hit.size());
    if (role == Qt::DisplayRole) {
        if (blank || shown >= int(column.digit.size()) || column.digit[size_t(shown)] == kNoDigit)
            return QString();
        return column.digit[size_t(shown)];
    }
    if (role == Qt::BackgroundRole)
        return uncoloured ? cellWhite() : (column.hit[size_t(shown)] ? hitBlue() : missGreen());
    if (role == Qt::ForegroundRole && !uncoloured && column.hit[size_t(shown)])
        return QColor(Qt::white);
    return {};
}

QVariant HistoryGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !history_ || index.row() >= history_->rowCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    if (column >= 6)
        return verificationData(row, column - 6, role);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole)
        return column == 0 ? QVariant(history_->period(row)) : QVariant(history_->digit(row, column));
    if (column >= 1 && tested_[size_t(column)]) {
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role == Qt::ForegroundRole)
            return hitBlue();
    }
    return {};
}

QVariant HistoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char16_t* const fixed[6] = {u"期号", u"万位", u"千位", u"百位", u"十位", u"个位"};
    if (section < 6)
        return QString::fromUtf16(fixed[section]);
    return formulaHeader(section - 5);
}

}  // namespace qeltaro::gui
