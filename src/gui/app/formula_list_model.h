#pragma once
// MSFlexGrid2: the formulas of the current category and kind with their back-test statistics.
// Column 0's colour shows the selection; column 10 (hidden) holds the idx.

#include "domain/formula_selection.h"
#include "domain/kind.h"

#include <QAbstractTableModel>
#include <QIdentityProxyModel>
#include <QString>

#include <optional>
#include <vector>

namespace qeltaro::gui {

struct FormulaListRow {
    int idx = 0;
    // 序号: the formula's place from 1 in its category and kind's list in idx order. It stays
    // with the formula when the list is re-sorted, and names it on the command line (--number).
    int number = 0;
    Kind kind = Kind::Kill;
    QString code;
    QString chinese;
    QString starWord;  // 种类: "一星".."五星"
    QString next;      // 计算值
    QString rateText;  // "66.6667% (2/3)"
    std::optional<int> maxMissRun, maxHitRun, lastMissRun, lastHitRun;
    // Against chance: the hit rate of a formula that knows nothing, the lift in percentage points,
    // the two-sided p-value and whether it beats chance after the correction over the list.
    std::optional<double> chance, lift, pValue, pMaxHit;
    bool beatsChance = false;
};

class FormulaListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Ordinal = 0, Text, Star, Kind, Next, Rate, MaxMiss, MaxHit, LastMiss, LastHit, Idx,
                  Chance, Lift, PValue, BeatsChance, ColumnCount };

    explicit FormulaListModel(QObject* parent = nullptr);

    // The rows and the selection flags they are coloured by (owned by the formula list).
    void setRows(std::vector<FormulaListRow> rows, const FormulaSelection* selection);
    const std::vector<FormulaListRow>& rows() const { return rows_; }
    const FormulaSelection* selection() const { return selection_; }
    void setShowChinese(bool chinese);
    bool showChinese() const { return showChinese_; }
    void setWeightedHeader(bool weighted);

    // The green agreement of column 4: rows of the same category text and digit as `row`.
    void markAgreement(int row);
    void clearAgreement();
    bool isSelected(const FormulaListRow& row) const { return selection_ && selection_->isSelected(row.idx); }
    // Repaint column 0 after the selection changed.
    void selectionChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const FormulaSelection* selection_ = nullptr;
    std::vector<FormulaListRow> rows_;
    std::vector<bool> agreement_;
    bool showChinese_ = true;
    bool weighted_ = true;
};

// What the list's header shows: headers of four characters or more on two lines, so the numeric
// columns can be as narrow as their numbers and the formula text gets the room. The list's own
// headers, which the exports match, stay on one line.
class WrappedHeaderModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};

}  // namespace qeltaro::gui
