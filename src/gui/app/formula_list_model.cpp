#include "gui/app/formula_list_model.h"

#include "gui/common/grid_colours.h"

#include <algorithm>

namespace qeltaro::gui {

FormulaListModel::FormulaListModel(QObject* parent) : QAbstractTableModel(parent) {}

void FormulaListModel::setRows(std::vector<FormulaListRow> rows, const FormulaSelection* selection)
{
    // The same formulas with new statistics (a back-test) change cells in place: the view keeps
    // its scroll position and current cell, and lays out no rows again.
    const bool sameFormulas = rows.size() == rows_.size() && !rows_.empty() &&
        std::equal(rows.begin(), rows.end(), rows_.begin(), [](const FormulaListRow& a, const FormulaListRow& b) {
            return a.idx == b.idx && a.kind == b.kind && a.code == b.code;
        });
    if (!sameFormulas)
        beginResetModel();
    rows_ = std::move(rows);
    selection_ = selection;
    agreement_.assign(rows_.size(), false);
    if (sameFormulas)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    else
        endResetModel();
}

void FormulaListModel::setShowChinese(bool chinese)
{
    showChinese_ = chinese;
    if (!rows_.empty())
        emit dataChanged(index(0, Text), index(rowCount() - 1, Text));
}

void FormulaListModel::setWeightedHeader(bool weighted)
{
    weighted_ = weighted;
    emit headerDataChanged(Qt::Horizontal, Rate, Rate);
}

void FormulaListModel::markAgreement(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const FormulaListRow& clicked = rows_[size_t(row)];
    for (size_t r = 0; r < rows_.size(); ++r)
        agreement_[r] = rows_[r].starWord == clicked.starWord && rows_[r].next == clicked.next;
    emit dataChanged(index(0, Next), index(rowCount() - 1, Next));
}

void FormulaListModel::clearAgreement()
{
    agreement_.assign(rows_.size(), false);
    if (!rows_.empty())
        emit dataChanged(index(0, Next), index(rowCount() - 1, Next));
}

void FormulaListModel::selectionChanged()
{
    if (!rows_.empty())
        emit dataChanged(index(0, Ordinal), index(rowCount() - 1, Ordinal));
}

int FormulaListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int FormulaListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FormulaListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const FormulaListRow& row = rows_[size_t(index.row())];
    auto optionalNumber = [](const std::optional<int>& n) { return n ? QVariant(*n) : QVariant(); };
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Ordinal: return row.number;
        case Text: return showChinese_ ? row.chinese : row.code;
        case Star: return row.starWord;
        case Kind: return isKill(row.kind) ? QStringLiteral("杀") : QStringLiteral("生");
        case Next: return row.next;
        case Rate: return row.rateText;
        case MaxMiss: return optionalNumber(row.maxMissRun);
        case MaxHit: return optionalNumber(row.maxHitRun);
        case LastMiss: return optionalNumber(row.lastMissRun);
        case LastHit: return optionalNumber(row.lastHitRun);
        case Idx: return row.idx;
        case Chance: return row.chance ? QVariant(QString::number(*row.chance * 100.0, 'f', 2) + u'%') : QVariant();
        case Lift: return row.lift ? QVariant(QString::asprintf("%+.2f", *row.lift)) : QVariant();
        case PValue: return row.pValue ? QVariant(QString::number(*row.pValue, 'g', 3)) : QVariant();
        case BeatsChance: return row.pValue ? QVariant(row.beatsChance ? QStringLiteral("是") : QStringLiteral("否")) : QVariant();
        default: return {};
        }
    }
    if (role == Qt::BackgroundRole) {
        if (index.column() == Ordinal)
            return isSelected(row) ? selectedBlue() : buttonFace();
        if (index.column() == Next)
            return agreement_[size_t(index.row())] ? agreeGreen() : cellWhite();
    }
    if (role == Qt::ForegroundRole && index.column() == Ordinal && isSelected(row))
        return QColor(Qt::white);
    if (role == Qt::TextAlignmentRole && index.column() != Text && index.column() != Rate)
        return int(Qt::AlignCenter);
    if (role == Qt::ToolTipRole && index.column() == Text)
        return row.chinese + QStringLiteral("\n") + row.code;
    if (role == Qt::ToolTipRole && index.column() >= Chance && row.pValue)
        return QStringLiteral("假设开奖号码均匀独立、公式号码与开奖无关时：随机命中率%1%，"
                              "该公式的命中次数与随机相符的概率p=%2；最大连对至少这么长的概率%3。"
                              "“高于随机”要求命中率高于随机且经Holm校正后p<0.01。")
            .arg(*row.chance * 100.0, 0, 'f', 2)
            .arg(*row.pValue, 0, 'g', 3)
            .arg(row.pMaxHit.value_or(1.0), 0, 'g', 3);
    if (role == Qt::ForegroundRole && index.column() == BeatsChance && row.beatsChance)
        return QColor(0, 0, 255);
    return {};
}

QVariant FormulaListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Ordinal: return QStringLiteral("序号");
    case Text: return QStringLiteral("公式");
    case Star: return QStringLiteral("种类");
    case Kind: return QStringLiteral("生杀");
    case Next: return QStringLiteral("计算值");
    case Rate: return weighted_ ? QStringLiteral("正确率（加权算法）") : QStringLiteral("正确率");
    case MaxMiss: return QStringLiteral("最大连错");
    case MaxHit: return QStringLiteral("最大连对");
    case LastMiss: return QStringLiteral("最后连错");
    case LastHit: return QStringLiteral("最后连对");
    case Chance: return QStringLiteral("随机命中率");
    case Lift: return QStringLiteral("高出随机");
    case PValue: return QStringLiteral("p值");
    case BeatsChance: return QStringLiteral("高于随机");
    default: return QString();
    }
}

QVariant WrappedHeaderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    QVariant header = QIdentityProxyModel::headerData(section, orientation, role);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return header;
    QString text = header.toString();
    if (text.size() < 4)
        return header;
    const qsizetype bracket = text.indexOf(u'（');
    text.insert(bracket > 0 ? bracket : 2, u'\n');
    return text;
}

}  // namespace qeltaro::gui
