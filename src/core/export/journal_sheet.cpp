#include "export/journal_sheet.h"

#include "aggregate/err_window_rows.h"

#include <QDir>
#include <QStringList>

#include <cmath>

namespace qeltaro {
namespace {

// The grids' colours for a hit and a miss, so the workbook reads like the window.
constexpr std::uint32_t kHitFill = 0x0000FF;
constexpr std::uint32_t kMissFill = 0x00FF00;

QString keptText(const std::vector<int>& kept)
{
    QStringList digits;
    for (int digit : kept)
        digits << QString::number(digit);
    return digits.join(u' ');
}

QString positionText(const Category& category, int slot)
{
    return slot == 0 ? category.caption() : errWindowTabCaption(slot);
}

PredictionRow slotRow(const QString& period, const QString& kind, const QString& method, const Category& category,
                      int slot, const std::vector<int>& kept, const SlotOutcome& outcome)
{
    return {period, kind, method, positionText(category, slot), keptText(kept), outcome.drawn, outcome.success,
            outcome.chance, outcome.evidence, std::nullopt};
}

// The rows of one prediction's slots, its money on the first.
template <typename Slot>
void addPredictionRows(std::vector<PredictionRow>& rows, const QString& period, const QString& kind, const QString& method,
                       const Category& category, const std::vector<Slot>& judged, const std::optional<PredictionMoney>& money)
{
    const size_t first = rows.size();
    for (const Slot& slot : judged)
        rows.push_back(slotRow(period, kind, method, category, slot.slot, slot.kept, slot.outcome));
    if (rows.size() > first)
        rows[first].money = money;
}

}  // namespace

QString predictionKindText(const Category& category, Kind kind)
{
    return category.caption() + (isKill(kind) ? QStringLiteral("杀码") : QStringLiteral("留码"));
}

QString calculationMethodWord(CalculationMethod method)
{
    return method == CalculationMethod::Best ? QStringLiteral("最优公式法") : QStringLiteral("计算选中公式");
}

QString predictionOutcomeWord(const std::optional<bool>& success)
{
    if (!success)
        return QStringLiteral("待开奖");
    return *success ? QStringLiteral("对") : QStringLiteral("错");
}

QString predictionChanceText(double chance)
{
    return QStringLiteral("%1%").arg(chance * 100.0, 0, 'f', 2);
}

QString searchedWalkLine(const WalkForwardResult& result)
{
    long long found = 0;
    for (const WalkForwardPeriod& period : result.periods)
        found += period.found.value_or(0);
    return QStringLiteral("各期搜索共找到公式%1条，%2期没有找到公式而无预测").arg(found).arg(result.noPrediction);
}

QString predictionSummaryLine(const PredictionSummary& summary)
{
    QString text = QStringLiteral("可检验%1个：成功%2次，随机期望%3次，p值%4")
                       .arg(summary.tested)
                       .arg(summary.successes)
                       .arg(summary.expected, 0, 'f', 2)
                       .arg(summary.pValue, 0, 'g', 4);
    if (summary.withoutEvidence > 0)
        text += QStringLiteral("；保留全部或零个号码的%1个不计").arg(summary.withoutEvidence);
    if (summary.waiting > 0)
        text += QStringLiteral("；待开奖%1个").arg(summary.waiting);
    return text;
}

QStringList journalSummaryLines(const JournalReport& report)
{
    QStringList lines;
    for (const JournalGroup& group : report.groups) {
        lines << QStringLiteral("[%1] %2条记录，%3")
                     .arg(predictionKindText(group.category, group.kind))
                     .arg(group.entries)
                     .arg(predictionSummaryLine(group.summary));
    }
    lines << QStringLiteral("合计：%1").arg(predictionSummaryLine(report.summary));
    lines << predictionVerdict(report.summary);
    lines << moneySummaryLine(report.money, report.prizes);
    return lines;
}

QString moneySummaryLine(const MoneySummary& money, const PrizeTable& prizes)
{
    return QStringLiteral("金额（按当前奖金表，每注%1元）：已开奖%2条预测，成本%3元，奖金%4元，盈亏%5元；随机期望盈亏%6元")
        .arg(yuanText(prizes.stake))
        .arg(money.predictions)
        .arg(yuanText(money.cost), yuanText(money.payout), yuanText(money.net()), yuanText(money.expectedNet()));
}

std::vector<PredictionRow> journalRows(const JournalReport& report)
{
    std::vector<PredictionRow> rows;
    for (const JournalEntry& entry : report.entries) {
        const QString kind = predictionKindText(entry.category, entry.kind);
        const QString method = calculationMethodWord(entry.method);
        addPredictionRows(rows, entry.period, kind, method, entry.category, entry.slotResults, entry.money);
    }
    return rows;
}

std::vector<PredictionRow> walkForwardRows(const WalkForwardResult& result, const WalkForwardRequest& request)
{
    const QString kind = predictionKindText(request.category, request.kind);
    const QString method = calculationMethodWord(request.method);
    std::vector<PredictionRow> rows;
    for (const WalkForwardPeriod& period : result.periods)
        addPredictionRows(rows, period.period, kind, method, request.category, period.slotResults, std::optional(period.money));
    return rows;
}

SheetRows journalSheet(const JournalReport& report)
{
    SheetRows sheet;
    SheetRow header;
    for (const char16_t* caption : {u"期号", u"种类", u"方法", u"位置", u"保留号码", u"开奖号码", u"结果", u"随机概率(%)",
                                    u"注数", u"成本(元)", u"奖金(元)", u"盈亏(元)"})
        header.push_back(SheetCell::ofText(QString::fromUtf16(caption)));
    sheet.push_back(std::move(header));
    for (const PredictionRow& row : journalRows(report)) {
        std::optional<std::uint32_t> fill;
        if (row.success)
            fill = *row.success ? kHitFill : kMissFill;
        SheetRow cells = {SheetCell::ofText(row.period), SheetCell::ofText(row.kind), SheetCell::ofText(row.method),
                          SheetCell::ofText(row.position), SheetCell::ofText(row.kept), SheetCell::ofText(row.drawn),
                          SheetCell::ofText(predictionOutcomeWord(row.success), fill),
                          SheetCell::ofNumber(std::round(row.chance * 10000.0) / 100.0)};
        if (row.money) {
            for (double value : {double(row.money->bets), yuanOf(row.money->cost), yuanOf(row.money->payout), yuanOf(row.money->net())})
                cells.push_back(SheetCell::ofNumber(value));
        }
        sheet.push_back(std::move(cells));
    }
    sheet.push_back({});
    for (const QString& line : journalSummaryLines(report))
        sheet.push_back({SheetCell::ofText(line)});
    return sheet;
}

QString journalWorkbookPath(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("yucejilu.xlsx"));
}

Result<QString> writeJournalWorkbook(const QString& dataDir, const JournalReport& report)
{
    const QString path = journalWorkbookPath(dataDir);
    if (Status written = writeWorkbook(path, journalSheet(report)); !written)
        return written.error();
    return path;
}

}  // namespace qeltaro
