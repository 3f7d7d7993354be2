// qeltaro-cli export xlsx: the lists of the desktop program written to the same workbooks in the
// data folder (lishi.xlsx, gongshi.xlsx, ErrarrLei.xlsx, Print.xlsx). Nothing but the workbook
// changes: the back-test, the calculation and the replay run here are not stored.

#include "calculation_options.h"

#include "aggregate/history_replay.h"
#include "aggregate/ranking_list_rows.h"
#include "backtest/backtest_engine.h"
#include "backtest/category_calculation.h"
#include "export/history_sheet.h"
#include "export/list_sheets.h"
#include "export/list_workbook.h"

#include <QJsonObject>

namespace qeltaro::cli {
namespace {

// The path of the workbook written and its rows.
Outcome written(const Result<QString>& path, int rows)
{
    if (!path)
        return path.error();
    return answer({*path}, QJsonObject{{QStringLiteral("path"), *path}, {QStringLiteral("rows"), rows}});
}

void warnUncompiled(const FormulaList& list)
{
    for (const ListedFormula& f : list.formulas()) {
        if (!f.compiled)
            printWarning(QStringLiteral("公式%1无法计算：%2").arg(f.idx).arg(f.compileError));
    }
}

// --category and --kind, both or neither: the formula list whose verification columns are added.
struct HistoryOptions {
    ListOptions list;
    bool verified = false;

    void bind(CLI::App* command)
    {
        command->add_option("--category", list.categoryText, kCategoryHelp);
        command->add_option("--kind", list.kindText, kKindHelp);
    }
    Status read()
    {
        if (list.categoryText.empty() != list.kindText.empty())
            return badInput(QStringLiteral("--category 与 --kind 须同时给出（加入该类公式的验算列），或都不给"));
        verified = !list.categoryText.empty();
        return verified ? list.read() : success();
    }
};

Outcome exportHistory(Context& context, Store& store, const HistoryOptions& o)
{
    std::optional<FormulaList> list;
    if (o.verified) {
        auto loaded = FormulaList::load(store, o.list.category, o.list.kind);
        if (!loaded)
            return loaded.error();
        list = std::move(*loaded);
        warnUncompiled(*list);
    }
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    const bool showOnCurrentRow = context.settings().read().showOnCurrentRow;
    const BacktestEngine engine;
    auto path = exportHistoryWorkbook(store.dataDir(), *history, list ? &*list : nullptr, showOnCurrentRow, engine);
    const int rows = history->rowCount() + 1;
    return written(path, list && !list->empty() ? std::max(rows, 2) : rows);
}

struct FormulasOptions {
    ListOptions list;
    bool code = false;

    void bind(CLI::App* command)
    {
        list.bind(command);
        command->add_flag("--code", code, "show the code text instead of the Chinese text");
    }
    Status read() { return list.read(); }
};

Outcome exportFormulas(Context& context, Store& store, const FormulasOptions& o)
{
    auto list = FormulaList::load(store, o.list.category, o.list.kind);
    if (!list)
        return list.error();
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    const SettingsMirror mirror = context.settings().read();
    const BacktestEngine engine;
    const FormulaStatsTable statistics = engine.backtest(*list, *history, BacktestSettings::fromMirror(mirror));
    const SheetRows sheet = formulaListSheet(formulaSheetRows(*list, statistics), !o.code, mirror.weightedRate);
    return written(writeListWorkbook(store.dataDir(), ListWorkbook::FormulaList, sheet), int(sheet.size()));
}

struct ErrOptions {
    ListOptions list;
    std::string method;
    std::string period;
    std::string select;
    int slot = 0;  // 0: the category's own page

    void bind(CLI::App* command)
    {
        list.bind(command);
        command->add_option("--method", method, "selected (计算选中公式) or best (最优公式法); default: the JSFF setting");
        command->add_option("--period", period, "re-check this past period instead of calculating the next one");
        command->add_option("--select", select, "selected formulas of the category's own table by idx (default all)");
        command->add_option("--slot", slot, "direct play: the page 1..s to write (default s, the category's own table)");
    }
    Status read() { return list.read(); }
};

// The page of the Err value window asked for: slot 0 for group play, 1..s for direct play.
Result<const SlotCalculation*> chosenPage(const std::vector<SlotCalculation>& pages, const Category& category, int slot)
{
    if (slot == 0) {
        if (pages.empty())
            return badInput(QStringLiteral("没有可导出的计数"));
        return &pages.back();
    }
    for (const SlotCalculation& page : pages) {
        if (page.slot == slot)
            return &page;
    }
    return badInput(category.group ? QStringLiteral("组选只有一页计数，不能选择 --slot")
                                   : QStringLiteral("--slot 须为1到%1（%2的各页）").arg(category.positions).arg(category.caption()));
}

Outcome exportErrValues(Context& context, Store& store, const ErrOptions& o)
{
    CalculationRequest request;
    request.category = o.list.category;
    request.kind = o.list.kind;
    auto method = parseMethodOption(o.method, context.settings().read());
    if (!method)
        return method.error();
    request.method = *method;
    if (!o.period.empty())
        request.pastPeriod = fromStd(o.period);
    auto selected = loadSelectedFormulas(store, o.list, o.select);
    if (!selected)
        return selected.error();
    request.selection = selected->selection;
    auto calculation = calculateCategory(store, selected->history, request);
    if (!calculation)
        return calculation.error();
    printWarnings(calculation->problems());
    auto page = chosenPage(calculation->slotResults, o.list.category, o.slot);
    if (!page)
        return page.error();
    const SheetRows sheet = errValuesSheet((*page)->counts);
    return written(writeListWorkbook(store.dataDir(), ListWorkbook::ErrValues, sheet), int(sheet.size()));
}

struct RankingOptions {
    ListOptions list;
    std::string select;
    int position = 0;  // 0: the position the category tests

    void bind(CLI::App* command)
    {
        list.bind(command);
        command->add_option("--select", select, "selected formulas by idx (default all)");
        command->add_option("--position", position, "1 (万位) .. 5 (个位); default the position the category tests");
    }
    Status read() { return list.read(); }
};

Outcome exportRanking(Context&, Store& store, const RankingOptions& o)
{
    const int position = o.position == 0 ? RankingList::defaultPosition(o.list.category.positions) : o.position;
    if (position < 1 || position > 5)
        return badInput(QStringLiteral("码位%1无效：须为1（万位）到5（个位）").arg(position));
    auto selected = loadSelectedFormulas(store, o.list, o.select);
    if (!selected)
        return selected.error();
    auto replay = replayHistory(selected->history, selected->formulas, selected->selection);
    if (!replay)
        return replay.error();
    printWarnings(replay->problems);
    auto list = RankingList::build(replay->periods, position, o.list.category.group);
    if (!list)
        return list.error();
    const SheetRows sheet = rankingListSheet(*list);
    return written(writeListWorkbook(store.dataDir(), ListWorkbook::RankingQuery, sheet), int(sheet.size()));
}

}  // namespace

void addExportCommands(CLI::App& app, Context& context)
{
    CLI::App* exportCommand = app.add_subcommand("export", "write the lists to spreadsheet workbooks in the data folder");
    CLI::App* xlsx = exportCommand->add_subcommand("xlsx", "write one list to its workbook (.xlsx) and print its path");
    addSubcommands(xlsx, context,
                   {{"history",
                     "the history list (lishi.xlsx); with --category and --kind, with the verification columns of "
                     "that formula list",
                     exportHistory},
                    {"formulas", "the formula list with its back-test (gongshi.xlsx)", exportFormulas},
                    {"err", "the Err values of a calculation (ErrarrLei.xlsx)", exportErrValues},
                    {"ranking", "the history position ranking list of a replay (Print.xlsx)", exportRanking}});
}

}  // namespace qeltaro::cli
