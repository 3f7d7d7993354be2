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

struct ExportOptions {
    std::string category;
    std::string kind;
    std::string select;
    std::string method;
    std::string period;
    bool code = false;
    int slot = 0;      // 0: the category's own page
    int position = 0;  // 0: the position the category tests
};

struct Listed {
    Store* store = nullptr;
    Category category;
    Kind kind = Kind::Kill;
};

Result<Listed> openListed(Context& context, const ExportOptions& o)
{
    auto category = parseCategory(o.category);
    if (!category)
        return category.error();
    auto kind = parseKind(o.kind);
    if (!kind)
        return kind.error();
    auto store = context.store();
    if (!store)
        return store.error();
    return Listed{*store, *category, *kind};
}

int reportWritten(Context& context, const Result<QString>& written, int rows)
{
    if (!written)
        return context.fail(written.error());
    if (context.json)
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("path"), *written}, {QStringLiteral("rows"), rows}}));
    else
        context.print(*written);
    return kSuccess;
}

void warnUncompiled(const FormulaList& list)
{
    for (const ListedFormula& f : list.formulas()) {
        if (!f.compiled)
            printWarning(QStringLiteral("公式%1无法计算：%2").arg(f.idx).arg(f.compileError));
    }
}

int exportHistory(Context& context, const ExportOptions& o)
{
    if (o.category.empty() != o.kind.empty())
        return context.fail(badInput(QStringLiteral("--category 与 --kind 须同时给出（加入该类公式的验算列），或都不给")));
    const bool verified = !o.category.empty();
    std::optional<FormulaList> list;
    Store* store = nullptr;
    if (verified) {
        auto listed = openListed(context, o);
        if (!listed)
            return context.fail(listed.error());
        store = listed->store;
        auto loaded = FormulaList::load(*store, listed->category, listed->kind);
        if (!loaded)
            return context.fail(loaded.error());
        list = std::move(*loaded);
        warnUncompiled(*list);
    } else {
        auto opened = context.store();
        if (!opened)
            return context.fail(opened.error());
        store = *opened;
    }
    auto history = loadHistoryColumns(*store);
    if (!history)
        return context.fail(history.error());
    const bool showOnCurrentRow = context.settings().read().showOnCurrentRow;
    const BacktestEngine engine;
    auto written = exportHistoryWorkbook(store->dataDir(), *history, list ? &*list : nullptr, showOnCurrentRow, engine);
    const int rows = history->rowCount() + 1;
    return reportWritten(context, written, list && !list->empty() ? std::max(rows, 2) : rows);
}

int exportFormulas(Context& context, const ExportOptions& o)
{
    auto listed = openListed(context, o);
    if (!listed)
        return context.fail(listed.error());
    auto list = FormulaList::load(*listed->store, listed->category, listed->kind);
    if (!list)
        return context.fail(list.error());
    auto history = loadHistoryColumns(*listed->store);
    if (!history)
        return context.fail(history.error());
    const SettingsMirror mirror = context.settings().read();
    const BacktestEngine engine;
    const FormulaStatsTable statistics = engine.backtest(*list, *history, BacktestSettings::fromMirror(mirror));
    const SheetRows sheet = formulaListSheet(formulaSheetRows(*list, statistics), !o.code, mirror.weightedRate);
    return reportWritten(context, writeListWorkbook(listed->store->dataDir(), ListWorkbook::FormulaList, sheet),
                         int(sheet.size()));
}

int exportErrValues(Context& context, const ExportOptions& o)
{
    auto listed = openListed(context, o);
    if (!listed)
        return context.fail(listed.error());
    CalculationRequest request;
    request.category = listed->category;
    request.kind = listed->kind;
    auto method = parseMethodOption(o.method, context.settings().read());
    if (!method)
        return context.fail(method.error());
    request.method = *method;
    if (!o.period.empty())
        request.pastPeriod = fromStd(o.period);
    auto selected = loadSelectedFormulas(*listed->store, listed->category, listed->kind, o.select);
    if (!selected)
        return context.fail(selected.error());
    request.selection = selected->selection;
    auto calculation = calculateCategory(*listed->store, selected->history, request);
    if (!calculation)
        return context.fail(calculation.error());
    for (const QString& problem : calculation->problems())
        printWarning(problem);

    // The pages of the Err value window: slot 0 for group play, 1..s for direct play.
    const std::vector<SlotCalculation>& pages = calculation->slotResults;
    const SlotCalculation* page = pages.empty() ? nullptr : &pages.back();
    if (o.slot != 0) {
        page = nullptr;
        for (const SlotCalculation& slot : pages) {
            if (slot.slot == o.slot)
                page = &slot;
        }
        if (!page) {
            return context.fail(badInput(listed->category.group
                                             ? QStringLiteral("组选只有一页计数，不能选择 --slot")
                                             : QStringLiteral("--slot 须为1到%1（%2的各页）")
                                                   .arg(listed->category.positions)
                                                   .arg(listed->category.caption())));
        }
    }
    if (!page)
        return context.fail(badInput(QStringLiteral("没有可导出的计数")));
    const SheetRows sheet = errValuesSheet(page->counts);
    return reportWritten(context, writeListWorkbook(listed->store->dataDir(), ListWorkbook::ErrValues, sheet),
                         int(sheet.size()));
}

int exportRanking(Context& context, const ExportOptions& o)
{
    auto listed = openListed(context, o);
    if (!listed)
        return context.fail(listed.error());
    const int position = o.position == 0 ? RankingList::defaultPosition(listed->category.positions) : o.position;
    if (position < 1 || position > 5)
        return context.fail(badInput(QStringLiteral("码位%1无效：须为1（万位）到5（个位）").arg(position)));
    auto selected = loadSelectedFormulas(*listed->store, listed->category, listed->kind, o.select);
    if (!selected)
        return context.fail(selected.error());
    auto replay = replayHistory(selected->history, selected->formulas, selected->selection);
    if (!replay)
        return context.fail(replay.error());
    for (const QString& problem : replay->problems)
        printWarning(problem);
    auto list = RankingList::build(replay->periods, position, listed->category.group);
    if (!list)
        return context.fail(list.error());
    const SheetRows sheet = rankingListSheet(*list);
    return reportWritten(context, writeListWorkbook(listed->store->dataDir(), ListWorkbook::RankingQuery, sheet),
                         int(sheet.size()));
}

CLI::App* addListCommand(CLI::App* xlsx, const char* name, const char* description, ExportOptions& o, bool required)
{
    CLI::App* command = xlsx->add_subcommand(name, description);
    auto* category = command->add_option("--category", o.category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    auto* kind = command->add_option("--kind", o.kind, "kill or keep");
    if (required) {
        category->required();
        kind->required();
    }
    return command;
}

}  // namespace

void addExportCommands(CLI::App& app, Context& context)
{
    auto o = std::make_shared<ExportOptions>();
    CLI::App* exportCommand = app.add_subcommand("export", "write the lists to spreadsheet workbooks in the data folder");
    CLI::App* xlsx = exportCommand->add_subcommand("xlsx", "write one list to its workbook (.xlsx) and print its path");

    CLI::App* history = addListCommand(xlsx, "history",
                                       "the history list (lishi.xlsx); with --category and --kind, with the verification "
                                       "columns of that formula list",
                                       *o, false);
    setAction(history, [&context, o] { return exportHistory(context, *o); });

    CLI::App* formulas = addListCommand(xlsx, "formulas", "the formula list with its back-test (gongshi.xlsx)", *o, true);
    formulas->add_flag("--code", o->code, "show the code text instead of the Chinese text");
    setAction(formulas, [&context, o] { return exportFormulas(context, *o); });

    CLI::App* err = addListCommand(xlsx, "err", "the Err values of a calculation (ErrarrLei.xlsx)", *o, true);
    err->add_option("--method", o->method, "selected (计算选中公式) or best (最优公式法); default: the JSFF setting");
    err->add_option("--period", o->period, "re-check this past period instead of calculating the next one");
    err->add_option("--select", o->select, "selected formulas of the category's own table by idx (default all)");
    err->add_option("--slot", o->slot, "direct play: the page 1..s to write (default s, the category's own table)");
    setAction(err, [&context, o] { return exportErrValues(context, *o); });

    CLI::App* ranking = addListCommand(xlsx, "ranking", "the history position ranking list of a replay (Print.xlsx)", *o, true);
    ranking->add_option("--select", o->select, "selected formulas by idx (default all)");
    ranking->add_option("--position", o->position, "1 (万位) .. 5 (个位); default the position the category tests");
    setAction(ranking, [&context, o] { return exportRanking(context, *o); });
}

}  // namespace qeltaro::cli
