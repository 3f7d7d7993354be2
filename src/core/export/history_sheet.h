#pragma once
// The history list as a sheet, cell for cell as the history grid shows it: the header row
// (期号, 万位..个位 and, with the verification display on, 公式1.. per formula), then one row per
// draw with the period, the five digits and each formula's digit, filled blue for a hit and
// green for a miss. A formula's Chinese text goes into the cell above its first period, which
// the grid leaves blank when the digits are shown "在下期"; shown "在当期" that cell holds a
// digit, so the text joins the column's header instead and no cell of the grid is lost.

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "backtest/formula_verification.h"
#include "common/progress.h"
#include "common/result.h"
#include "domain/history_columns.h"
#include "export/spreadsheet_writer.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qeltaro {

class HistorySheet {
public:
    // The period and digit columns only.
    explicit HistorySheet(const HistoryColumns& history);
    // One more column per formula: `verification[k]` named `formulaNames[k]`.
    HistorySheet(const HistoryColumns& history, std::vector<FormulaVerification> verification,
                 QStringList formulaNames, bool showOnCurrentRow);

    int rowCount() const;
    int columnCount() const { return 6 + int(verification_.size()); }
    SheetRow row(int r) const;
    // Rows read from this sheet while it is written: keep the sheet alive until then.
    SheetSource source() const;

private:
    bool nameAboveFirstPeriod(int formula) const;

    const HistoryColumns& history_;
    std::vector<FormulaVerification> verification_;
    QStringList names_;
    bool showOnCurrentRow_ = false;
};

// The name a verification column carries: the formula's Chinese text, or its code text when it
// has none.
QString verificationColumnName(const ListedFormula& formula);

// Writes lishi.xlsx from the history; with `verified` set, with the verification columns of its
// formulas (the formula list as last back-tested), computed here.
Result<QString> exportHistoryWorkbook(const QString& dataDir, const HistoryColumns& history, const FormulaList* verified,
                                      bool showOnCurrentRow, const BacktestEngine& engine, Progress* progress = nullptr);

}  // namespace qeltaro
