#include "gui/app/tool_window_commands.h"

#include "domain/chance_statistics.h"
#include "backtest/detail_list_rows.h"
#include "backtest/formula_breakdown.h"
#include "backtest/formula_filter.h"
#include "gui/aggregate/err_value_tabs_window.h"
#include "gui/aggregate/err_value_window.h"
#include "gui/aggregate/ranking_list_window.h"
#include "gui/app/formula_list_view.h"
#include "gui/app/main_window.h"
#include "gui/backtest/detail_list_dialog.h"
#include "gui/backtest/formula_filter_dialog.h"
#include "gui/backtest/formula_steps_window.h"
#include "gui/backtest/hit_rate_chart_window.h"
#include "gui/backtest/sort_settings_dialog.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/predictions/journal_window.h"
#include "library/formula_library.h"
#include "predictions/calculation_run.h"

#include <QApplication>

#include <unordered_map>

namespace qeltaro::gui {
namespace {

const QString kCalculationTitle = QStringLiteral("计算公式");
const QString kReplayTitle = QStringLiteral("公式往期位置值结果列表");
const QString kStepsTitle = QStringLiteral("查询该公式历史计算式");

// Lists a few problems and how many more there are, so a long list still fits on the screen.
QString problemText(const QStringList& problems)
{
    constexpr int kShown = 10;
    QStringList lines = problems.mid(0, kShown);
    if (problems.size() > kShown)
        lines << QStringLiteral("……另有%1条").arg(problems.size() - kShown);
    return lines.join(u'\n');
}

}  // namespace

ToolWindowCommands::ToolWindowCommands(MainWindow& window) : QObject(&window), window_(window)
{
    setObjectName(QStringLiteral("toolWindowCommands"));
}

FormulaListModel* ToolWindowCommands::formulaModel() const
{
    return &window_.formulaList().model();
}

// --- the filter ---

void ToolWindowCommands::openFilter()
{
    if (!filterDialog_) {
        filterDialog_ = new FormulaFilterDialog(&window_);
        connect(filterDialog_, &FormulaFilterDialog::boundsConfirmed, this, [this](const FilterBounds& bounds) {
            AnalysisSession& session = window_.session();
            const int remaining = applyFilter(bounds, session.formulaList(), session.statistics());
            formulaModel()->selectionChanged();
            Dialogs::inform(&window_, QStringLiteral("公式过滤结果"), filterResultText(remaining));
        });
    }
    const AnalysisSession& session = window_.session();
    filterDialog_->showWithBounds(prefillBounds(session.formulaList(), session.statistics()));
}

// --- the calculation ---

CalculationRequest ToolWindowCommands::requestFromOptions() const
{
    AnalysisSession& session = window_.session();
    CalculationRequest request;
    request.category = session.category();
    request.kind = session.kind();
    const CalculationChoice choice = window_.calculationChoice();
    request.method = choice.method;
    request.pastPeriod = choice.pastPeriod;
    request.selection = session.selection();
    request.sort = sort_;
    return request;
}

void ToolWindowCommands::calculate()
{
    const CalculationRequest request = requestFromOptions();
    if (request.method == CalculationMethod::Selected) {
        runCalculation(request);
        return;
    }
    // The best-formula method asks for its sort settings first; closing the dialog cancels.
    if (!sortDialog_) {
        sortDialog_ = new SortSettingsDialog(&window_);
        connect(sortDialog_, &SortSettingsDialog::settingsConfirmed, this, [this](const SortSettings& settings) {
            sort_ = settings;
            if (!awaitingSort_)
                return;
            CalculationRequest waiting = *awaitingSort_;
            awaitingSort_.reset();
            waiting.sort = sort_;
            runCalculation(waiting);
        });
        connect(sortDialog_, &QDialog::rejected, this, [this] { awaitingSort_.reset(); });
    }
    awaitingSort_ = request;
    sortDialog_->showWithSettings(sort_);
}

void ToolWindowCommands::runCalculation(const CalculationRequest& request)
{
    AnalysisSession& session = window_.session();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto run = qeltaro::runCalculation(session.store(), session.history(), request);
    QApplication::restoreOverrideCursor();
    if (!run) {
        Dialogs::warn(&window_, kCalculationTitle, run.error().message);
        return;
    }
    if (!request.pastPeriod)
        lastRequest_ = request;
    run->calculation.storeInto(counts_);
    lastCalculation_ = std::move(run->calculation);
    showCalculatedDigits(*lastCalculation_);
    showErrValues(*lastCalculation_);
    if (run->stagingFailure)
        Dialogs::warn(&window_, kCalculationTitle, run->stagingFailure->message);
    if (!run->warnings.isEmpty())
        Dialogs::warn(&window_, kCalculationTitle, problemText(run->warnings));
    if (run->recordFailure)
        Dialogs::warn(&window_, kCalculationTitle, QStringLiteral("计算结果未能记入预测记录：%1").arg(run->recordFailure->message));
    if (run->recording == Recording::Recorded && journalWindow_)
        journalWindow_->reload();
}

void ToolWindowCommands::showMadeCalculation(const CategoryCalculation& calculation)
{
    calculation.storeInto(counts_);
    lastCalculation_ = calculation;
    showCalculatedDigits(calculation);
    const bool shown = (errTabsWindow_ && errTabsWindow_->isVisible()) || (errWindow_ && errWindow_->isVisible());
    if (shown)
        showErrValues(calculation);
    if (journalWindow_)
        journalWindow_->reload();
}

void ToolWindowCommands::showCalculatedDigits(const CategoryCalculation& calculation)
{
    // The list shows the table calculated last (the category's own) in idx order; its 计算值 are
    // the next-period digits of the selected formulas only.
    window_.showFormulaRows();
    if (calculation.slotResults.empty())
        return;
    std::unordered_map<int, QString> next;
    for (const CalculatedFormula& f : calculation.slotResults.back().formulas)
        next.emplace(f.idx, f.selected ? digitText(f.nextDigit) : QString());
    FormulaListModel* model = formulaModel();
    std::vector<FormulaListRow> rows = model->rows();
    for (FormulaListRow& row : rows) {
        const auto it = next.find(row.idx);
        row.next = it == next.end() ? QString() : it->second;
    }
    model->setRows(std::move(rows), &window_.session().selection());
    scrollToEndIfLong(&window_.formulaList());
}

void ToolWindowCommands::showErrValues(const CategoryCalculation& calculation)
{
    const bool detail = calculation.plan.detailListAvailable;
    if (calculation.plan.direct) {
        if (!errTabsWindow_) {
            errTabsWindow_ = new ErrValueTabsWindow(window_.dataFolder(), &window_);
            connect(errTabsWindow_, &ErrValueTabsWindow::detailListRequested, this,
                    [this] { openDetailList(errTabsWindow_); });
        }
        std::vector<ErrCounts> slotCounts;
        for (int slot = 1; slot <= calculation.category.positions; ++slot)
            slotCounts.push_back(counts_.slot(slot));
        errTabsWindow_->showSlots(slotCounts, calculation.kind, detail);
        return;
    }
    if (!errWindow_) {
        errWindow_ = new ErrValueWindow(window_.dataFolder(), &window_);
        connect(errWindow_, &ErrValueWindow::detailListRequested, this, [this] { openDetailList(errWindow_); });
    }
    errWindow_->showCounts(counts_.slot(0), calculation.kind, detail);
}

void ToolWindowCommands::openDetailList(QWidget* errWindow)
{
    if (!lastCalculation_)
        return;
    const AnalysisSession& session = window_.session();
    const FormulaStatsTable& statistics = session.statistics();
    auto rows = detailListRows(*lastCalculation_, formulaModel()->showChinese(), [&statistics](int idx) {
        const FormulaStats* stats = statistics.find(idx);
        if (!stats)
            return QString();
        return stats->evaluated() ? rateText(*stats) : stats->error;
    });
    auto* dialog = new DetailListDialog(std::move(rows), window_.dataFolder(), errWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// --- the history replay ---

void ToolWindowCommands::replay()
{
    BackgroundTask& task = window_.task();
    if (task.busy()) {
        Dialogs::warn(&window_, kReplayTitle, QStringLiteral("另一项任务正在进行，请等它结束或按“停止”后再查询。"));
        return;
    }
    if (!Dialogs::confirm(&window_, QStringLiteral("查询等待确认"),
                          QStringLiteral("往期结果对照要对每一期历史号码计算所选公式的结果，并与下一期开奖结果比较，"
                                         "通常片刻即可完成，期间可按“停止”中止。继续查询吗？")))
        return;
    AnalysisSession& session = window_.session();
    const Category category = session.category();
    auto formulas = listFormulas(session.store(), session.listKey());
    if (!formulas) {
        Dialogs::warn(&window_, kReplayTitle, formulas.error().message);
        return;
    }
    // The worker gets its own copies: the window may load another history while it runs.
    auto history = std::make_shared<const HistoryColumns>(session.history());
    auto listed = std::make_shared<const std::vector<StoredFormula>>(std::move(*formulas));
    const std::optional<FormulaSelection> selection = session.selection();
    auto result = std::make_shared<Result<HistoryReplay>>(Error{});
    task.start(
        [history, listed, selection, result](Progress& progress) {
            *result = replayHistory(*history, *listed, selection, [&progress](int done, int total) {
                progress.report(done, total, QStringLiteral("往期结果对照"));
                return !progress.cancelled();
            });
        },
        [this, result, category] { finishReplay(*result, category); });
}

void ToolWindowCommands::finishReplay(Result<HistoryReplay>& replay, const Category& category)
{
    if (!replay) {
        if (replay.error().kind != ErrorKind::Cancelled)
            Dialogs::warn(&window_, kReplayTitle, replay.error().message);
        return;
    }
    if (Status stored = keepReplayTallies(window_.session().store(), *replay); !stored)
        Dialogs::warn(&window_, kReplayTitle, stored.error().message);
    if (!rankingWindow_) {
        rankingWindow_ = new RankingListWindow(category.positions, category.group, window_.dataFolder(), &window_);
        rankingWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    rankingWindow_->showReplay(std::move(replay->periods));
    if (!replay->problems.isEmpty())
        Dialogs::warn(&window_, kReplayTitle, problemText(replay->problems));
}

// --- the formula's calculation history ---

std::optional<FormulaListRow> ToolWindowCommands::chosenFormula(const QString& title) const
{
    const FormulaListRow* row = window_.chosenFormula();
    if (!row) {
        Dialogs::warn(&window_, title, MainWindow::noChosenFormulaMessage());
        return std::nullopt;
    }
    return *row;
}

void ToolWindowCommands::showFormulaSteps()
{
    const std::optional<FormulaListRow> formula = chosenFormula(kStepsTitle);
    if (!formula)
        return;
    auto breakdown = breakDownFormula(window_.session().history(), formula->code, formula->chinese);
    if (!breakdown) {
        Dialogs::warn(&window_, kStepsTitle, breakdown.error().message);
        return;
    }
    if (!stepsWindow_) {
        stepsWindow_ = new FormulaStepsWindow(window_.dataFolder(), &window_);
        stepsWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    stepsWindow_->showBreakdown(std::move(*breakdown), formula->code, formula->chinese);
}

// --- the prediction journal ---

void ToolWindowCommands::openJournal()
{
    if (!journalWindow_) {
        // The walk-forward test runs the calculation as the main window is set up when it starts.
        journalWindow_ = new JournalWindow(window_.session(), [this] {
            WalkForwardRequest request = walkForwardOf(requestFromOptions());
            request.window = BacktestSettings::fromMirror(window_.session().mirror());
            return request;
        }, &window_);
    }
    showInFront(journalWindow_);
}

// --- the hit rate chart ---

void ToolWindowCommands::showHitRateChart()
{
    const QString title = QStringLiteral("公式命中率走势");
    const std::optional<FormulaListRow> formula = chosenFormula(title);
    if (!formula)
        return;
    const AnalysisSession& session = window_.session();
    // The list's rows may be re-sorted by a column; the formula is found by its idx.
    const int ordinal = session.formulaList().ordinalOf(formula->idx);
    std::vector<FormulaVerification> verification =
        ordinal >= 0 ? session.verification(ordinal, 1) : std::vector<FormulaVerification>{};
    if (verification.empty() || verification.front().rowCount() == 0) {
        Dialogs::warn(&window_, title, QStringLiteral("该公式无法在历史号码上计算，没有走势可画。"));
        return;
    }
    const HistoryColumns& history = session.history();
    if (!hitRateWindow_) {
        hitRateWindow_ = new HitRateChartWindow(&window_);
        hitRateWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    hitRateWindow_->showFormula(formula->chinese, std::move(verification.front()),
                                chanceHitRate(session.category(), formula->kind), history.period(0),
                                history.period(history.rowCount() - 1));
}

}  // namespace qeltaro::gui
