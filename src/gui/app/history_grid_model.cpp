#include "gui/app/history_grid_model.h"

#include "domain/hit_rule.h"
#include "language/expression.h"
#include "gui/common/grid_colours.h"

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

void HistoryGridModel::setVerification(std::vector<FormulaVerification> columns, bool showOnCurrentRow)
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
    return verificationColumnHeader(k);
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
    const FormulaVerification& column = verification_[size_t(formula)];
    if (row >= column.rowCount())
        return {};
    const VerificationCell cell = column.cell(row, showOnCurrentRow_);
    if (role == Qt::DisplayRole)
        return cell.text;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::BackgroundRole) {
        switch (cell.mark) {
        case VerificationMark::Hit: return hitBlue();
        case VerificationMark::Miss: return missGreen();
        case VerificationMark::None: return cellWhite();
        }
    }
    if (role == Qt::ForegroundRole && cell.mark == VerificationMark::Hit)
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
