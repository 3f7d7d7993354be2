#pragma once
// MSFlexGrid1: the draw history, one row per period, the tested positions in bold blue, and with
// verification display on one column per formula with its digit and its hit (blue) or miss
// (green) on every period.

#include "backtest/formula_verification.h"
#include "domain/category.h"
#include "domain/history_columns.h"

#include <QAbstractTableModel>

#include <vector>

namespace qeltaro::gui {

class HistoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit HistoryGridModel(QObject* parent = nullptr);

    void setHistory(const HistoryColumns* history, const Category& category);
    // One column per formula after the digits; shown "在当期" or "在下期".
    void setVerification(std::vector<FormulaVerification> columns, bool showOnCurrentRow);
    void clearVerification();

    // Header of formula column k (1-based): "公式k" up to 99, "式k" from 100 on.
    static QString formulaHeader(int k);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant verificationData(int row, int formula, int role) const;

    const HistoryColumns* history_ = nullptr;
    std::vector<bool> tested_ = std::vector<bool>(6, false);
    std::vector<FormulaVerification> verification_;
    bool showOnCurrentRow_ = false;
};

}  // namespace qeltaro::gui
