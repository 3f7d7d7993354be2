#pragma once
// The rows of the prediction journal or of a walk-forward run: one per prediction and slot,
// the result in the grids' hit and miss colours, and on a judged prediction's first row what
// its bets cost and paid. A walk-forward run has one kind and method, named above its table, so
// its rows leave those columns out.

#include "export/journal_sheet.h"

#include <QAbstractTableModel>

#include <vector>

namespace qeltaro::gui {

class PredictionTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PredictionTableModel(bool withKindAndMethod, QObject* parent = nullptr);

    void setRows(std::vector<PredictionRow> rows);
    const std::vector<PredictionRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    enum class Column { Period, Kind, Method, Position, Kept, Drawn, Result, Chance, Bets, Cost, Payout, Net };

private:
    Column columnAt(int column) const;

    std::vector<Column> columns_;
    std::vector<PredictionRow> rows_;
};

}  // namespace qeltaro::gui
