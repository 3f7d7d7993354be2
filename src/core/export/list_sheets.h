#pragma once
// The sheets of the lists other than the history, cell for cell as their grids show them (row 0
// the header): the formula list, the Err values, the history position ranking list, the detail
// list and a formula's calculation history. Cells that show whole numbers are written as
// numbers; everything else as the text shown.

#include "aggregate/err_counts.h"
#include "aggregate/ranking_list_rows.h"
#include "backtest/detail_list_rows.h"
#include "backtest/formula_breakdown.h"
#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "domain/kind.h"
#include "export/spreadsheet_writer.h"

#include <QString>

#include <optional>
#include <vector>

namespace qeltaro {

// One row of the formula list as shown.
struct FormulaSheetRow {
    int number = 0;    // 序号: the place in the list of its category and kind, kept through a sort
    Kind kind = Kind::Kill;
    QString code;      // gongshi
    QString text;      // gongshiCN
    QString starWord;  // 种类
    QString next;      // 计算值
    QString rateText;  // 正确率, or why the formula could not be back-tested
    std::optional<int> maxMissRun, maxHitRun, lastMissRun, lastHitRun;
};

// The rows of a back-tested list in list order, as the formula list fills them.
std::vector<FormulaSheetRow> formulaSheetRows(const FormulaList& list, const FormulaStatsTable& statistics);

// Columns 0-9 of the formula list (序号 .. 最后连对); the hidden idx is not part of it.
SheetRows formulaListSheet(const std::vector<FormulaSheetRow>& rows, bool showChinese, bool weightedRate);

// 排序序号, 号码, 杀留Err值（公式错误值）; the digits ascending by their kill count, equal counts by
// digit (the staging table's stored order). With keep formulas every kill count is 0, so the
// digits come in digit order.
SheetRows errValuesSheet(const ErrCounts& counts);

SheetRows rankingListSheet(const RankingList& list);
SheetRows detailListSheet(const std::vector<DetailListRow>& rows);
SheetRows formulaStepsSheet(const FormulaBreakdown& breakdown);

// A cell showing `text`: a number when the text is a whole number as a number would be written
// (no leading zeros, no blanks), the text otherwise.
SheetCell shownCell(const QString& text);

}  // namespace qeltaro
