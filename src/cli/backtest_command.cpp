// qeltaro-cli backtest | filter

#include "calculation_options.h"
#include "cli_context.h"

#include "domain/chance_statistics.h"

#include "backtest/backtest_engine.h"
#include "backtest/formula_filter.h"
#include "backtest/full_backtest.h"
#include "backtest/history_cache.h"
#include "backtest/holdout_backtest.h"
#include "holdout_output.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace qeltaro::cli {
namespace {

struct BacktestOptions {
    std::string category;
    std::string kind;
    WindowOptions window;
    std::string bounds;
    int holdout = 0;
};

struct Prepared {
    Store* store = nullptr;
    FormulaList list;
    const HistoryColumns* history = nullptr;
    BacktestSettings settings;
};

Result<Prepared> prepare(Context& context, const BacktestOptions& options, HistoryCache& cache)
{
    auto category = parseCategory(options.category);
    if (!category)
        return category.error();
    auto kind = parseKind(options.kind);
    if (!kind)
        return kind.error();
    auto settings = windowSettings(context, options.window);
    if (!settings)
        return settings.error();
    auto store = context.store();
    if (!store)
        return store.error();
    auto list = FormulaList::load(**store, *category, *kind);
    if (!list)
        return list.error();
    auto history = cache.columns(**store);
    if (!history)
        return history.error();
    return Prepared{*store, std::move(*list), *history, *settings};
}

QJsonObject formulaJson(const ListedFormula& formula, const FormulaStats& stats, const ChanceAssessment& chance)
{
    QJsonObject row{{QStringLiteral("idx"), formula.idx},
                    {QStringLiteral("code"), formula.code},
                    {QStringLiteral("text"), formula.text},
                    {QStringLiteral("rate"), std::round(double(stats.rate) * 10000.0) / 10000.0},
                    {QStringLiteral("hits"), double(stats.hitSum)},
                    {QStringLiteral("total"), double(stats.totalSum)},
                    {QStringLiteral("max_miss"), stats.maxMissRun},
                    {QStringLiteral("max_hit"), stats.maxHitRun},
                    {QStringLiteral("last_miss"), stats.lastMissRun},
                    {QStringLiteral("last_hit"), stats.lastHitRun},
                    {QStringLiteral("next"), stats.next}};
    // Against a formula that knows nothing (digits uniform and independent).
    row.insert(QStringLiteral("chance"), chance.chance * 100.0);
    row.insert(QStringLiteral("lift"), chance.lift);
    row.insert(QStringLiteral("p_value"), chance.pValue);
    row.insert(QStringLiteral("beats_chance"), chance.beatsChance);
    row.insert(QStringLiteral("p_max_hit"), chance.pMaxHit);
    row.insert(QStringLiteral("p_max_miss"), chance.pMaxMiss);
    if (!stats.evaluated())
        row.insert(QStringLiteral("error"), stats.error);
    return row;
}

QString formulaLine(const ListedFormula& formula, const FormulaStats& stats)
{
    const QString text = formula.text.isEmpty() ? formula.code : formula.text;
    if (!stats.evaluated())
        return QStringLiteral("%1\t%2\t无法计算：%3").arg(formula.idx).arg(text, stats.error);
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
        .arg(formula.idx)
        .arg(text, stats.next, rateText(stats))
        .arg(stats.maxMissRun)
        .arg(stats.maxHitRun)
        .arg(stats.lastMissRun)
        .arg(stats.lastHitRun);
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

// backtest --holdout K: statistics before the newest K periods, then each formula on them.
int runHeldOut(Context& context, const Prepared& prepared, int periods)
{
    if (auto check = checkHoldoutPeriods(periods, prepared.history->rowCount()); !check)
        return context.fail(check.error());
    const BacktestEngine engine;
    const FormulaList& list = prepared.list;
    const HoldoutBacktest result = backtestWithHoldout(list, *prepared.history, prepared.settings, periods, engine);
    if (context.json) {
        QJsonArray array;
        const auto chance = assessStatistics(list.category(), list.kind(), result.statistics);
        for (int k = 0; k < list.size(); ++k) {
            QJsonObject row = formulaJson(list.at(k), result.statistics.at(k), chance[size_t(k)]);
            row.insert(QStringLiteral("holdout"), holdoutJson(result.heldOut[size_t(k)]));
            array.append(row);
        }
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("holdout_periods"), periods},
                                                    {QStringLiteral("formulas"), array}}));
        return kSuccess;
    }
    context.print(QStringLiteral("序号\t公式\t%1\t最大连错\t最大连对\t")
                      .arg(prepared.settings.weightedRate ? QStringLiteral("正确率（加权算法）") : QStringLiteral("正确率")) +
                  holdoutHeader());
    int beating = 0;
    for (int k = 0; k < list.size(); ++k) {
        const ListedFormula& formula = list.at(k);
        const FormulaStats& stats = result.statistics.at(k);
        const HoldoutResult& held = result.heldOut[size_t(k)];
        const QString text = formula.text.isEmpty() ? formula.code : formula.text;
        if (!stats.evaluated()) {
            context.print(QStringLiteral("%1\t%2\t无法计算：%3").arg(formula.idx).arg(text, stats.error));
            continue;
        }
        beating += held.beatsChance ? 1 : 0;
        context.print(QStringLiteral("%1\t%2\t%3\t%4\t%5\t")
                          .arg(formula.idx)
                          .arg(text, rateText(stats))
                          .arg(stats.maxMissRun)
                          .arg(stats.maxHitRun) +
                      holdoutColumns(held));
    }
    context.print(QStringLiteral("留出最新%1期：统计取之前的历史（%2），%3条公式中%4条在留出期高于随机；统计未写入数据库")
                      .arg(periods)
                      .arg(scoredRowsText(historyBeforeHoldout(*prepared.history, periods), prepared.settings))
                      .arg(list.size())
                      .arg(beating));
    return kSuccess;
}

void addKindOptions(CLI::App* command, BacktestOptions& options)
{
    command->add_option("--category", options.category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    command->add_option("--kind", options.kind, "kill or keep")->required();
}

}  // namespace

void addBacktestCommands(CLI::App& app, Context& context)
{
    auto options = std::make_shared<BacktestOptions>();
    auto cache = std::make_shared<HistoryCache>();

    CLI::App* backtest = app.add_subcommand(
        "backtest", "back-test every formula of a category and kind, and store the statistics");
    addKindOptions(backtest, *options);
    addWindowOptions(backtest, options->window);
    backtest->add_option("--holdout", options->holdout,
                         "hold out the newest K periods (120 = one day): statistics before them, then each formula "
                         "scored on them; nothing stored");
    setAction(backtest, [&context, options, cache] {
        auto prepared = prepare(context, *options, *cache);
        if (!prepared)
            return context.fail(prepared.error());
        if (options->holdout != 0)
            return runHeldOut(context, *prepared, options->holdout);
        const BacktestEngine engine;
        auto table = runFullBacktest(*prepared->store, prepared->list, *prepared->history, prepared->settings, engine);
        if (!table)
            return context.fail(table.error());
        const FormulaList& list = prepared->list;
        if (context.json) {
            QJsonArray array;
            const auto chance = assessStatistics(list.category(), list.kind(), *table);
            for (int k = 0; k < list.size(); ++k)
                array.append(formulaJson(list.at(k), table->at(k), chance[size_t(k)]));
            context.printJson(QJsonDocument(array));
            return int(kSuccess);
        }
        context.print(QStringLiteral("序号\t公式\t计算值\t%1\t最大连错\t最大连对\t最后连错\t最后连对")
                          .arg(prepared->settings.weightedRate ? QStringLiteral("正确率（加权算法）")
                                                               : QStringLiteral("正确率")));
        for (int k = 0; k < list.size(); ++k)
            context.print(formulaLine(list.at(k), table->at(k)));
        context.print(QStringLiteral("%1%2公式%3条，%4")
                          .arg(list.category().caption(), isKill(list.kind()) ? QStringLiteral("杀") : QStringLiteral("生"))
                          .arg(list.size())
                          .arg(scoredRowsText(*prepared->history, prepared->settings)));
        return int(kSuccess);
    });

    CLI::App* filter = app.add_subcommand(
        "filter", "back-test a category and kind (nothing stored) and keep the formulas inside ten bounds");
    addKindOptions(filter, *options);
    filter->add_option("--bounds", options->bounds,
                       "ten numbers lo,hi of the rate, longest miss run, longest hit run, final miss run, final hit run")
        ->required();
    setAction(filter, [&context, options, cache] {
        auto bounds = parseBounds(fromStd(options->bounds).split(u','));
        if (!bounds)
            return context.fail(bounds.error());
        auto prepared = prepare(context, *options, *cache);
        if (!prepared)
            return context.fail(prepared.error());
        const BacktestEngine engine;
        FormulaList& list = prepared->list;
        const FormulaStatsTable table = engine.backtest(list, *prepared->history, prepared->settings);
        const int remaining = applyFilter(*bounds, list, table);
        if (context.json) {
            QJsonArray selected;
            for (int idx : list.selection().selectedAmong(list.idxs()))
                selected.append(idx);
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("remaining"), remaining},
                                                        {QStringLiteral("selected"), selected}}));
        } else {
            context.print(filterResultText(remaining));
        }
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
