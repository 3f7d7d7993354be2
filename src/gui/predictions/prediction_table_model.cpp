#include "gui/predictions/prediction_table_model.h"

#include "gui/common/grid_colours.h"

namespace qeltaro::gui {

PredictionTableModel::PredictionTableModel(bool withKindAndMethod, QObject* parent) : QAbstractTableModel(parent)
{
    columns_ = {Column::Period, Column::Kind, Column::Method, Column::Position, Column::Kept, Column::Drawn,
                Column::Result, Column::Chance, Column::Bets, Column::Cost, Column::Payout, Column::Net};
    if (!withKindAndMethod)
        columns_.erase(columns_.begin() + 1, columns_.begin() + 3);
}

void PredictionTableModel::setRows(std::vector<PredictionRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int PredictionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int PredictionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

PredictionTableModel::Column PredictionTableModel::columnAt(int column) const
{
    return columns_[size_t(column)];
}

namespace {

bool isMoney(PredictionTableModel::Column column)
{
    return column >= PredictionTableModel::Column::Bets;
}

QString moneyText(const PredictionMoney& money, PredictionTableModel::Column column)
{
    switch (column) {
    case PredictionTableModel::Column::Bets: return QString::number(money.bets);
    case PredictionTableModel::Column::Cost: return yuanText(money.cost);
    case PredictionTableModel::Column::Payout: return yuanText(money.payout);
    case PredictionTableModel::Column::Net: return yuanText(money.net());
    default: return {};
    }
}

}  // namespace

QVariant PredictionTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PredictionRow& row = rows_[size_t(index.row())];
    const Column column = columnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case Column::Period: return row.period;
        case Column::Kind: return row.kind;
        case Column::Method: return row.method;
        case Column::Position: return row.position;
        case Column::Kept: return row.kept;
        case Column::Drawn: return row.drawn;
        case Column::Result: return predictionOutcomeWord(row.success);
        case Column::Chance: return predictionChanceText(row.chance);
        default: return row.money ? moneyText(*row.money, column) : QString();
        }
    case Qt::TextAlignmentRole:
        return int((column == Column::Chance || isMoney(column) ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (column == Column::Result && row.success)
            return *row.success ? hitBlue() : missGreen();
        return {};
    case Qt::ForegroundRole:
        if (column == Column::Result && row.success && *row.success)
            return QColor(Qt::white);
        // A slot that keeps every digit (or none) cannot fail: shown, but greyed as no evidence.
        if (!row.evidence)
            return QColor(Qt::gray);
        return {};
    case Qt::ToolTipRole:
        if (isMoney(column))
            return QStringLiteral("每组保留号码的组合各买一注直选（1倍），按当前奖金表计算；记在该条预测的第一行");
        if (!row.evidence)
            return QStringLiteral("保留全部或零个号码，不能说明什么，不计入统计");
        return {};
    default:
        return {};
    }
}

QVariant PredictionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (columnAt(section)) {
    case Column::Period: return QStringLiteral("期号");
    case Column::Kind: return QStringLiteral("种类");
    case Column::Method: return QStringLiteral("方法");
    case Column::Position: return QStringLiteral("位置");
    case Column::Kept: return QStringLiteral("保留号码");
    case Column::Drawn: return QStringLiteral("开奖号码");
    case Column::Result: return QStringLiteral("结果");
    case Column::Chance: return QStringLiteral("随机概率");
    case Column::Bets: return QStringLiteral("注数");
    case Column::Cost: return QStringLiteral("成本");
    case Column::Payout: return QStringLiteral("奖金");
    case Column::Net: return QStringLiteral("盈亏");
    }
    return {};
}

}  // namespace qeltaro::gui
