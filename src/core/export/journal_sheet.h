#pragma once
// The prediction journal and the walk-forward test as rows of text, one per entry (or tested
// period) and slot, in the words the window and the workbook share; and the journal's workbook,
// yucejilu.xlsx in the data folder, which a later export replaces. A prediction's money belongs
// to the whole prediction, so it stands on the first row of its slots.

#include "common/result.h"
#include "domain/kind.h"
#include "domain/prediction_outcome.h"
#include "export/spreadsheet_writer.h"
#include "predictions/prediction_journal.h"
#include "predictions/walk_forward.h"

#include <QString>

#include <optional>
#include <vector>

namespace qeltaro {

struct PredictionRow {
    QString period;
    QString kind;      // 三星直选杀码
    QString method;    // 最优公式法 or 计算选中公式
    QString position;  // 1星.. for a direct-play slot, the category's caption for group play
    QString kept;      // "0 2 5"
    QString drawn;     // empty while waiting
    std::optional<bool> success;
    double chance = 0;
    bool evidence = false;
    std::optional<PredictionMoney> money;  // on the first row of a judged prediction
};

QString predictionKindText(const Category& category, Kind kind);  // 三星直选杀码
QString calculationMethodWord(CalculationMethod method);
QString predictionOutcomeWord(const std::optional<bool>& success);  // 对, 错 or 待开奖
QString predictionChanceText(double chance);                        // "30.00%"
QString predictionSummaryLine(const PredictionSummary& summary);
// 各期搜索共找到公式N条，M期没有找到公式而无预测: the walk with a search per period.
QString searchedWalkLine(const WalkForwardResult& result);
// 金额（按当前奖金表，每注2元）：已开奖N条预测，成本…元，奖金…元，盈亏…元；随机期望盈亏…元
QString moneySummaryLine(const MoneySummary& money, const PrizeTable& prizes);
// One line per category and kind, then the total, the verdict and the money.
QStringList journalSummaryLines(const JournalReport& report);

std::vector<PredictionRow> journalRows(const JournalReport& report);
std::vector<PredictionRow> walkForwardRows(const WalkForwardResult& result, const WalkForwardRequest& request);

// The header, a row per entry and slot, a blank row and the summary lines.
SheetRows journalSheet(const JournalReport& report);
QString journalWorkbookPath(const QString& dataDir);
// Writes the sheet to the data folder, replacing an older one; the path written.
Result<QString> writeJournalWorkbook(const QString& dataDir, const JournalReport& report);

}  // namespace qeltaro
