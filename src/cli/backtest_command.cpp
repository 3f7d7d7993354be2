// qeltaro-cli backtest | filter

#include "calculation_options.h"

#include "backtest/backtest_engine.h"
#include "backtest/formula_filter.h"
#include "backtest/full_backtest.h"
#include "backtest/holdout_backtest.h"
#include "domain/chance_statistics.h"
#include "holdout_output.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace qeltaro::cli {
namespace {

struct BacktestOptions {
    ListOptions list;
    WindowOptions window;
    int holdout = 0;

    void bind(CLI::App* command)
    {
        list.bind(command);
        window.bind(command);
        command->add_option("--holdout", holdout,
                            "hold out the newest K periods (120 = one day): statistics before them, then each formula "
                            "scored on them; nothing stored");
    }
    Status read(Context& context)
    {
        if (Status s = list.read(); !s)
            return s;
        return window.read(context);
    }
};

// The list and the history a back-test runs on.
struct Loaded {
    FormulaList list;
    HistoryColumns history;
};

Result<Loaded> load(Store& store, const ListOptions& options)
{
    auto list = FormulaList::load(store, options.category, options.kind);
    if (!list)
        return list.error();
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    return Loaded{std::move(*list), std::move(*history)};
}

// One formula's row, its members in Qt's key order; `holdout`, when given, in its place.
void writeFormulaRow(JsonOut& out, const ListedFormula& formula, const FormulaStats& stats,
                     const ChanceAssessment& chance, const QJsonObject* holdout = nullptr)
{
    out.beginObject();
    // Against a formula that knows nothing (digits uniform and independent).
    out.key(QStringLiteral("beats_chance")).boolean(chance.beatsChance);
    out.key(QStringLiteral("chance")).number(chance.chance * 100.0);
    out.key(QStringLiteral("code")).string(formula.code);
    if (!stats.evaluated())
        out.key(QStringLiteral("error")).string(stats.error);
    out.key(QStringLiteral("hits")).number(double(stats.hitSum));
    if (holdout)
        out.member(QStringLiteral("holdout"), *holdout);
    out.key(QStringLiteral("idx")).integer(formula.idx);
    out.key(QStringLiteral("last_hit")).integer(stats.lastHitRun);
    out.key(QStringLiteral("last_miss")).integer(stats.lastMissRun);
    if (chance.evidence)
        out.key(QStringLiteral("lift")).number(chance.lift);
    out.key(QStringLiteral("max_hit")).integer(stats.maxHitRun);
    out.key(QStringLiteral("max_miss")).integer(stats.maxMissRun);
    out.key(QStringLiteral("next")).string(stats.next);
    // A formula that named no digit on any scored row has no figures against chance.
    if (chance.evidence) {
        out.key(QStringLiteral("p_max_hit")).number(chance.pMaxHit);
        out.key(QStringLiteral("p_max_miss")).number(chance.pMaxMiss);
        out.key(QStringLiteral("p_value")).number(chance.pValue);
    }
    out.key(QStringLiteral("rate")).number(std::round(double(stats.rate) * 10000.0) / 10000.0);
    out.key(QStringLiteral("text")).string(formula.text);
    out.key(QStringLiteral("total")).number(double(stats.totalSum));
    out.endObject();
}

QString formulaText(const ListedFormula& formula)
{
    return formula.text.isEmpty() ? formula.code : formula.text;
}

QString notEvaluatedLine(const ListedFormula& formula, const FormulaStats& stats)
{
    return QStringLiteral("%1\t%2\t无法计算：%3").arg(formula.idx).arg(formulaText(formula), stats.error);
}

QString formulaLine(const ListedFormula& formula, const FormulaStats& stats)
{
    if (!stats.evaluated())
        return notEvaluatedLine(formula, stats);
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
        .arg(formula.idx)
        .arg(formulaText(formula), stats.next, rateText(stats))
        .arg(stats.maxMissRun)
        .arg(stats.maxHitRun)
        .arg(stats.lastMissRun)
        .arg(stats.lastHitRun);
}

QString rateHeading(const BacktestSettings& settings)
{
    return settings.weightedRate ? QStringLiteral("正确率（加权算法）") : QStringLiteral("正确率");
}

QString scoredRowsText(const HistoryColumns& history, const BacktestSettings& settings)
{
    const int first = firstScoredRow(history.rowCount(), settings);
    if (first >= history.rowCount())
        return QStringLiteral("没有可回测的期（至少需要两期历史）");
    return QStringLiteral("第%1期至第%2期，共%3期")
        .arg(history.period(first), history.period(history.rowCount() - 1))
        .arg(history.rowCount() - first);
}

// Each formula's statistics, as the formula list shows them, and against chance.
class BacktestReport : public Report {
public:
    BacktestReport(Loaded loaded, FormulaStatsTable table, BacktestSettings settings)
        : loaded_(std::move(loaded)), table_(std::move(table)), settings_(settings)
    {
    }

    void writeText(TextOut& out) const override
    {
        const FormulaList& list = loaded_.list;
        out.line(QStringLiteral("序号\t公式\t计算值\t%1\t最大连错\t最大连对\t最后连错\t最后连对").arg(rateHeading(settings_)));
        for (int k = 0; k < list.size(); ++k)
            out.line(formulaLine(list.at(k), table_.at(k)));
        out.line(QStringLiteral("%1%2公式%3条，%4")
                     .arg(list.category().caption(), isKill(list.kind()) ? QStringLiteral("杀") : QStringLiteral("生"))
                     .arg(list.size())
                     .arg(scoredRowsText(loaded_.history, settings_)));
    }

    void writeJson(JsonOut& out) const override
    {
        const FormulaList& list = loaded_.list;
        const auto chance = assessStatistics(list.category(), list.kind(), table_);
        out.beginArray();
        for (int k = 0; k < list.size(); ++k)
            writeFormulaRow(out, list.at(k), table_.at(k), chance[size_t(k)]);
        out.endArray();
    }

private:
    Loaded loaded_;
    FormulaStatsTable table_;
    BacktestSettings settings_;
};

// backtest --holdout K: statistics before the newest K periods, then each formula on them.
class HoldoutReport : public Report {
public:
    HoldoutReport(Loaded loaded, HoldoutBacktest result, BacktestSettings settings, int periods)
        : loaded_(std::move(loaded)), result_(std::move(result)), settings_(settings), periods_(periods)
    {
    }

    void writeText(TextOut& out) const override
    {
        const FormulaList& list = loaded_.list;
        out.line(QStringLiteral("序号\t公式\t%1\t最大连错\t最大连对\t").arg(rateHeading(settings_)) + holdoutHeader());
        int beating = 0;
        for (int k = 0; k < list.size(); ++k) {
            const ListedFormula& formula = list.at(k);
            const FormulaStats& stats = result_.statistics.at(k);
            const HoldoutResult& held = result_.heldOut[size_t(k)];
            if (!stats.evaluated()) {
                out.line(notEvaluatedLine(formula, stats));
                continue;
            }
            beating += held.beatsChance ? 1 : 0;
            out.line(QStringLiteral("%1\t%2\t%3\t%4\t%5\t")
                         .arg(formula.idx)
                         .arg(formulaText(formula), rateText(stats))
                         .arg(stats.maxMissRun)
                         .arg(stats.maxHitRun) +
                     holdoutColumns(held));
        }
        out.line(QStringLiteral("留出最新%1期：统计取之前的历史（%2），%3条公式中%4条在留出期高于随机；统计未写入数据库")
                     .arg(periods_)
                     .arg(scoredRowsText(historyBeforeHoldout(loaded_.history, periods_), settings_))
                     .arg(list.size())
                     .arg(beating));
    }

    void writeJson(JsonOut& out) const override
    {
        const FormulaList& list = loaded_.list;
        const auto chance = assessStatistics(list.category(), list.kind(), result_.statistics);
        out.beginObject();
        out.key(QStringLiteral("formulas")).beginArray();
        for (int k = 0; k < list.size(); ++k) {
            const QJsonObject holdout = holdoutJson(result_.heldOut[size_t(k)]);
            writeFormulaRow(out, list.at(k), result_.statistics.at(k), chance[size_t(k)], &holdout);
        }
        out.endArray();
        out.member(QStringLiteral("holdout_periods"), periods_);
        out.endObject();
    }

private:
    Loaded loaded_;
    HoldoutBacktest result_;
    BacktestSettings settings_;
    int periods_;
};

Outcome backtest(Context&, Store& store, const BacktestOptions& o)
{
    auto loaded = load(store, o.list);
    if (!loaded)
        return loaded.error();
    const BacktestEngine engine;
    if (o.holdout != 0) {
        if (auto check = checkHoldoutPeriods(o.holdout, loaded->history.rowCount()); !check)
            return check.error();
        HoldoutBacktest result = backtestWithHoldout(loaded->list, loaded->history, o.window.settings, o.holdout, engine);
        return makeReport<HoldoutReport>(std::move(*loaded), std::move(result), o.window.settings, o.holdout);
    }
    auto table = runFullBacktest(store, loaded->list, loaded->history, o.window.settings, engine);
    if (!table)
        return table.error();
    return makeReport<BacktestReport>(std::move(*loaded), std::move(*table), o.window.settings);
}

struct FilterOptions {
    ListOptions list;
    std::string boundsText;
    FilterBounds bounds;
    WindowOptions window;  // not on the command line: the window of the settings

    void bind(CLI::App* command)
    {
        list.bind(command);
        command->add_option("--bounds", boundsText,
                            "ten numbers lo,hi of the rate, longest miss run, longest hit run, final miss run, final hit run")
            ->required();
    }
    Status read(Context& context)
    {
        auto parsed = parseBounds(fromStd(boundsText).split(u','));
        if (!parsed)
            return parsed.error();
        bounds = *parsed;
        if (Status s = list.read(); !s)
            return s;
        return window.read(context);
    }
};

Outcome filter(Context&, Store& store, const FilterOptions& o)
{
    auto loaded = load(store, o.list);
    if (!loaded)
        return loaded.error();
    const BacktestEngine engine;
    FormulaList& list = loaded->list;
    const FormulaStatsTable table = engine.backtest(list, loaded->history, o.window.settings);
    const int remaining = applyFilter(o.bounds, list, table);
    QJsonArray selected;
    for (int idx : list.selection().selectedAmong(list.idxs()))
        selected.append(idx);
    return answer({filterResultText(remaining)},
                  QJsonObject{{QStringLiteral("remaining"), remaining}, {QStringLiteral("selected"), selected}});
}

}  // namespace

void addBacktestCommands(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("backtest", "back-test every formula of a category and kind, and store the statistics"),
                    context, backtest);
    addStoreCommand(app.add_subcommand("filter", "back-test a category and kind (nothing stored) and keep the formulas "
                                                 "inside ten bounds"),
                    context, filter);
}

}  // namespace qeltaro::cli
