// The search window's runs (the manual search, the scheme, the threshold proposals), their
// progress on the screen, and the saving and export of what they found.

#include "gui/search/formula_search_window.h"

#include "gui/common/window_host.h"
#include "gui/common/dialogs.h"
#include "gui/common/open_file.h"
#include "gui/search/best_rates_panel.h"
#include "gui/search/search_checks_panel.h"
#include "gui/search/search_progress_chart.h"
#include "search/formula_search.h"
#include "search/search_job.h"
#include "export/found_formula_export.h"
#include "search/scheme_settings.h"
#include "search/search_category.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>


namespace qeltaro::gui {
namespace {

constexpr std::chrono::milliseconds kReportInterval(100);

void enable(QWidget* parent, const char* name, bool enabled)
{
    if (auto* widget = parent->findChild<QWidget*>(QLatin1String(name)))
        widget->setEnabled(enabled);
}

void keepRecord(const Result<QString>& written)
{
    // The record is for repeating a run later; a run is not spoiled when it cannot be written.
    if (!written)
        qWarning("search run record not written: %s", qPrintable(written.error().message));
}

template <typename Run, typename Request>
std::unique_ptr<Run> makeRun(const std::shared_ptr<const HistoryColumns>& history, Request request)
{
    auto run = std::make_unique<Run>(history, std::move(request));
    run->setReportInterval(kReportInterval);
    return run;
}

template <typename Job, typename Request>
std::unique_ptr<Job> makeJob(const QString& dataDir, const std::shared_ptr<const HistoryColumns>& history, Request request)
{
    return std::make_unique<Job>(dataDir, history, std::move(request), kReportInterval);
}

// A copy for the run: the main window may reload its history while the run goes on.
std::shared_ptr<const HistoryColumns> copyForRun(const HistoryColumns& history)
{
    return std::make_shared<const HistoryColumns>(history);
}

// The checked request, or nothing once the refusal is shown.
template <typename Request, typename Order>
std::optional<Request> checkedRequest(QWidget* window, const QString& title, const FormulaSearch& search,
                                      const Order& order, const HistoryColumns& history)
{
    auto checked = search.prepare(order, history);
    const auto* refusal = std::get_if<SearchRefusal>(&checked);
    if (!refusal)
        return std::move(std::get<0>(checked));
    QString text = refusal->error.message;
    switch (refusal->reason) {
    case SearchRefusalReason::TooFewDraws:
    case SearchRefusalReason::Holdout: text += QStringLiteral("。"); break;
    case SearchRefusalReason::StoredThresholds: text += QStringLiteral("，请先改正并保存该类参数设置。"); break;
    case SearchRefusalReason::Store: break;
    }
    Dialogs::warn(window, title, text);
    return std::nullopt;
}

}  // namespace

bool FormulaSearchWindow::running() const
{
    return manualRun_ || schemeRun_ || smartRun_;
}

void FormulaSearchWindow::reject()
{
    // Esc, the close button and the window manager all end here (a dialog's close rejects it).
    if (readyToClose())
        QDialog::reject();
}

bool FormulaSearchWindow::readyToClose()
{
    bestRates_->stopCheck();
    // Runs end first, keeping what they found up to now.
    forEachRun([](auto& run) {
        run.stop();
        run.wait();
    });
    if (running())
        poll();
    if (!found_.unkept())
        return true;
    const QString title = QStringLiteral("关闭公式搜索");
    const QString question = QStringLiteral("搜索到的%1条公式还没有保存，也没有导出。关闭窗口前要保存到公式库吗？")
                                 .arg(found_.unsavedCount());
    switch (Dialogs::askUnsaved(this, title, question)) {
    case Dialogs::UnsavedChoice::Save:
        save(SaveMode::Append);
        return !found_.unkept();
    case Dialogs::UnsavedChoice::Discard: return true;
    case Dialogs::UnsavedChoice::Stay: return false;
    }
    return false;
}

void FormulaSearchWindow::stopAllRuns()
{
    // Each run's destructor waits for its threads; what they found goes with the window.
    bestRates_->stopCheck();
    forEachRun([](auto& run) { run.stop(); });
    manualRun_.reset();
    schemeRun_.reset();
    smartRun_.reset();
    if (pollTimer_)
        pollTimer_->stop();
}

// --- reading the boxes ---

std::optional<std::shared_ptr<const HistoryColumns>> FormulaSearchWindow::historyForRun(const QString& title)
{
    const HistoryColumns& history = main_.session().history();
    if (Status s = checkSearchHistory(history); !s) {
        Dialogs::warn(this, title, s.error().message + QStringLiteral("。"));
        return std::nullopt;
    }
    return copyForRun(history);
}

std::optional<TailConstant> FormulaSearchWindow::readConstant(const QString& title)
{
    if (constantOptions_[1]->isChecked())
        return TailConstant::randomDigit();
    auto constant = TailConstant::fromText(constantBox_->text());
    if (!constant) {
        Dialogs::warn(this, title, constant.error().message + QStringLiteral("。"));
        constantBox_->setFocus();
        return std::nullopt;
    }
    return *constant;
}

std::optional<int> FormulaSearchWindow::readSampleCount(const QString& title)
{
    bool ok = false;
    const int count = sampleBox_->text().trimmed().toInt(&ok);
    if (!ok || count < 1 || count > kMaxSampleCount) {
        Dialogs::warn(this, title, QStringLiteral("检索公式数“%1”应为1到%2之间的整数。").arg(sampleBox_->text().trimmed()).arg(kMaxSampleCount));
        sampleBox_->setFocus();
        return std::nullopt;
    }
    return count;
}

// --- the manual search ---

void FormulaSearchWindow::startManual()
{
    const QString title = QStringLiteral("开始搜索");
    if (running())
        return;
    QStringList texts;
    for (int i = 0; i < kThresholdCount; ++i)
        texts << thresholdBoxes_[size_t(i)]->text();
    auto thresholds = parseThresholdTexts(texts);
    if (!thresholds) {
        Dialogs::warn(this, title, thresholds.error().message + QStringLiteral("，请改正后再开始搜索。"));
        return;
    }
    const auto constant = readConstant(title);
    if (!constant)
        return;
    std::optional<long long> stopCount;
    if (autoStop_->isChecked()) {
        stopCount = wantedCountFromText(thresholdBoxes_[15]->text());
        if (!stopCount) {
            Dialogs::warn(this, title, QStringLiteral("自动中止的公式数“%1”不是数字，请改正后再开始搜索。")
                                           .arg(thresholdBoxes_[15]->text().trimmed()));
            return;
        }
    }
    ManualSearchOrder order;
    SearchRequest& request = order.request;
    request.shape = {category(), selectedKind(), operandScroll_->value(), *constant,
                     formOptions_[1]->isChecked() ? FormulaForm::Suffix : FormulaForm::Prefix};
    order.operandCount = operandScroll_->value();
    order.thresholds = *thresholds;
    request.window = SearchWindow::fromMirror(main_.session().mirror());
    request.stopCount = stopCount;
    request.alreadyFound = found_.unsavedCount();
    request.seed = freshSearchSeed();
    request.holdoutPeriods = checks_->holdoutPeriods();
    const auto history = copyForRun(main_.session().history());
    auto ready = checkedRequest<SearchRequest>(this, title, FormulaSearch(main_.session().store(), *settings_), order, *history);
    if (!ready)
        return;
    found_.beginManualRun();
    foundBeforeRun_ = found_.unsavedCount();
    runHistory_ = history;
    manualRun_ = makeJob<ManualSearchJob>(main_.session().store().dataDir(), runHistory_, std::move(*ready));
    beginRun();
    manualRun_->start();
}

void FormulaSearchWindow::stopManual()
{
    if (manualRun_)
        manualRun_->stop();
}

void FormulaSearchWindow::finishManual()
{
    manualRun_->wait();
    const SearchOutcome& outcome = manualRun_->outcome();
    verifiedBox_->setText(QString::number(outcome.verified));
    showChecks(outcome.control, outcome.holdoutPeriods, outcome.found);
    bestRates_->showRates(outcome.best);
    bestRates_->offerCheck(runHistory_, realityCheckOf(manualRun_->request(), outcome, kDefaultRealityCopies));
    keepRecord(manualRun_->finish());
    manualRun_.reset();
}

// --- the scheme ---

void FormulaSearchWindow::startScheme()
{
    const QString title = QStringLiteral("确定搜索方案开始搜索");
    if (running())
        return;
    const auto constant = readConstant(title);
    if (!constant)
        return;
    SchemeSearchOrder order;
    SchemeRequest& request = order.request;
    request.kind = selectedKind();
    request.holdoutPeriods = checks_->holdoutPeriods();
    order.wanted = wantedCounts();
    request.mode = countModeOptions_[0]->isChecked() ? CountMode::Hold : CountMode::Add;
    request.constant = *constant;
    request.form = formOptions_[1]->isChecked() ? FormulaForm::Suffix : FormulaForm::Prefix;
    request.window = SearchWindow::fromMirror(main_.session().mirror());
    request.seed = freshSearchSeed();
    const auto history = copyForRun(main_.session().history());
    auto ready = checkedRequest<SchemeRequest>(this, title, FormulaSearch(main_.session().store(), *settings_), order, *history);
    if (!ready)
        return;

    found_.beginSchemeRun();
    foundBox_->setText(QStringLiteral("0"));
    markSchemeLabels(schemeOrder().front(), false);
    shownSchemeCategory_ = 0;
    runHistory_ = history;
    schemeRun_ = makeJob<SchemeSearchJob>(main_.session().store().dataDir(), runHistory_, std::move(*ready));
    beginRun();
    schemeRun_->start();
}

void FormulaSearchWindow::pauseScheme()
{
    if (!schemeRun_ || schemeRun_->paused())
        return;
    schemeRun_->pause();
    pauseClock_.start();
    updateButtons();
}

void FormulaSearchWindow::continueScheme()
{
    if (!schemeRun_ || !schemeRun_->paused())
        return;
    schemeRun_->resume();
    pausedMs_ += pauseClock_.elapsed();
    updateButtons();
}

void FormulaSearchWindow::finishScheme()
{
    schemeRun_->wait();
    const SchemeOutcome outcome = schemeRun_->outcome();
    bestRates_->offerCheck(runHistory_, realityCheckOf(schemeRun_->request(), outcome, kDefaultRealityCopies));
    keepRecord(schemeRun_->finish());
    schemeRun_.reset();
    verifiedBox_->setText(QString::number(outcome.verified()));
    showChecks(outcome.control, outcome.holdoutPeriods, outcome.found);
    if (!outcome.completed)
        return;
    markSchemeLabels(0, true);
    updateButtons();
    // The end of a scheme saves as the check boxes say, also when nothing was found.
    if (endSaveChecks_[0]->isChecked())
        save(SaveMode::Append);
    else if (endSaveChecks_[1]->isChecked())
        save(SaveMode::Replace);
}

// --- the threshold proposals ---

void FormulaSearchWindow::startSmartSetting(bool allCategories)
{
    const QString title = allCategories ? QStringLiteral("更新参数默认设置") : QStringLiteral("公式参数智能设置");
    if (running())
        return;
    if (allCategories &&
        !Dialogs::confirm(this, title,
                          QStringLiteral("此操作将耗时一分钟到数分钟自动搜索分析各类公式并分析其参数值，归纳出相对参数较高的数值为设置"
                                         "软件各类公式搜索的默认值，操作后各类公式搜索默认值将改变，是否确认更改搜索默认值？")))
        return;
    const auto constant = readConstant(title);
    if (!constant)
        return;
    const auto samples = readSampleCount(title);
    if (!samples)
        return;
    const auto history = historyForRun(title);
    if (!history)
        return;

    SmartSettingRequest request;
    request.kind = selectedKind();
    request.samples = *samples;
    request.constant = *constant;
    request.window = SearchWindow::fromMirror(main_.session().mirror());
    request.seed = freshSearchSeed();
    if (allCategories) {
        for (int number : smartSettingAllOrder())
            request.categories.push_back({number, settings_->thresholds(request.kind, number), settings_->operandCount(number)});
    } else {
        QStringList texts;
        for (int i = 0; i < kThresholdCount; ++i)
            texts << thresholdBoxes_[size_t(i)]->text();
        request.categories.push_back({searchNumber(), thresholdsFromTexts(texts), operandScroll_->value()});
    }
    smartAll_ = allCategories;
    smartKind_ = request.kind;
    shownSchemeCategory_ = 0;
    runHistory_ = *history;
    smartRun_ = makeRun<SmartSettingRun>(runHistory_, request);
    beginRun();
    smartRun_->start();
}

void FormulaSearchWindow::finishSmartSetting()
{
    smartRun_->wait();
    const SmartSettingOutcome outcome = smartRun_->outcome();
    smartRun_.reset();
    if (outcome.stopped || outcome.results.empty())
        return;
    if (!smartAll_) {
        // Only the five proposed thresholds change; the user stores them with 保存当前种类参数设置.
        const SearchThresholds& proposed = outcome.results.front().thresholds;
        for (int i : {0, 3, 4, 7, 8})
            thresholdBoxes_[size_t(i)]->setText(thresholdText(proposed[size_t(i)]));
        return;
    }
    QStringList problems;
    for (const SmartSettingResult& result : outcome.results) {
        if (Status s = settings_->setThresholds(smartKind_, result.searchNumber, result.thresholds); !s)
            problems << categoryOfSearchNumber(result.searchNumber)->caption() + QStringLiteral("：") + s.error().message;
    }
    // The run ends on 一星直选, as the window then shows.
    selectCategory(outcome.results.back().searchNumber);
    if (!problems.isEmpty())
        Dialogs::warn(this, QStringLiteral("更新参数默认设置"), problems.join(u'\n'));
}

// --- progress ---

void FormulaSearchWindow::beginRun()
{
    runClock_.start();
    pausedMs_ = 0;
    fedCount_ = 0;
    verifiedBox_->setText(QStringLiteral("0"));
    chart_->restart();
    checks_->clear();
    bestRates_->clear();
    pollTimer_->start();
    updateButtons();
}

void FormulaSearchWindow::poll()
{
    // Whether a run had ended is read before its progress, so what it found last is not missed.
    if (manualRun_) {
        const bool done = manualRun_->finished();
        const SearchProgress progress = manualRun_->progress();
        takeNewlyFound(manualRun_->feed());
        verifiedBox_->setText(QString::number(progress.verified));
        foundBox_->setText(QString::number(found_.unsavedCount()));
        showCandidate(progress.currentText, progress.currentStats);
        plotProgress(progress.verified, found_.unsavedCount() - foundBeforeRun_, progress.controlPasses, progress.best);
        bestRates_->showRates(progress.best);
        checks_->showRates(progress.verified, std::uint64_t(found_.unsavedCount() - foundBeforeRun_),
                           progress.controlPasses);
        if (done)
            finishManual();
    }
    if (schemeRun_) {
        const bool done = schemeRun_->finished();
        const SchemeProgress progress = schemeRun_->progress();
        takeNewlyFound(schemeRun_->feed());
        if (progress.category != 0 && progress.category != shownSchemeCategory_) {
            // The window follows the scheme: the category's options, thresholds and target.
            shownSchemeCategory_ = progress.category;
            markSchemeLabels(progress.category, false);
            selectCategory(progress.category);
            const SchemeRequest& request = schemeRun_->request();
            if (const auto target = schemeTarget(request.wanted, request.held, request.mode, progress.category))
                thresholdBoxes_[15]->setText(QString::number(*target));
        }
        verifiedBox_->setText(QString::number(progress.verified));
        foundBox_->setText(QString::number(progress.categoryFound));
        showCandidate(progress.currentText, progress.currentStats);
        if (!schemeRun_->paused())
            plotProgress(progress.verified, progress.found, progress.controlPasses, progress.best);
        bestRates_->showRates(progress.best);
        checks_->showRates(progress.verified, std::uint64_t(progress.found), progress.controlPasses);
        if (done)
            finishScheme();
    }
    if (smartRun_) {
        const bool done = smartRun_->finished();
        const SmartSettingProgress progress = smartRun_->progress();
        if (smartAll_ && progress.category != 0 && progress.category != shownSchemeCategory_) {
            shownSchemeCategory_ = progress.category;
            selectCategory(progress.category);
        }
        verifiedBox_->setText(QString::number(progress.samples));
        if (progress.samples > 0)
            showCandidate(candidateBox_->text(), progress.latest);
        if (done)
            finishSmartSetting();
    }
    if (!running()) {
        pollTimer_->stop();
        updateButtons();
    }
}

void FormulaSearchWindow::takeNewlyFound(const FoundFeed& feed)
{
    const std::vector<FoundFormula> fresh = feed.since(fedCount_);
    if (fresh.empty())
        return;
    fedCount_ += fresh.size();
    found_.add(fresh);
    for (const FoundFormula& formula : fresh)
        foundList_->addItem(formula.text);
    foundList_->scrollToBottom();
}

void FormulaSearchWindow::showCandidate(const QString& text, const CandidateStatistics& stats)
{
    if (text.isEmpty() && stats.scoredRows == 0)
        return;
    candidateBox_->setText(text);
    candidateBox_->setCursorPosition(0);
    thresholdBoxes_[10]->setText(thresholdText(stats.rate));
    thresholdBoxes_[11]->setText(QString::number(stats.maxMissRun));
    thresholdBoxes_[12]->setText(QString::number(stats.maxHitRun));
    thresholdBoxes_[13]->setText(QString::number(stats.lastMissRun));
    thresholdBoxes_[14]->setText(QString::number(stats.lastHitRun));
}

void FormulaSearchWindow::plotProgress(std::uint64_t verified, long long found, std::uint64_t shuffledPasses,
                                       const BestRates& best)
{
    const qint64 pausedNow = schemeRun_ && schemeRun_->paused() ? pauseClock_.elapsed() : 0;
    const double seconds = double(runClock_.elapsed() - pausedMs_ - pausedNow) / 1000.0;
    chart_->add(seconds, double(verified), double(found), double(shuffledPasses));
    chart_->addBest(seconds, best.real, best.shuffled);
}

void FormulaSearchWindow::showChecks(const std::optional<ShuffledControl>& control, int holdoutPeriods,
                                     const std::vector<FoundFormula>& found)
{
    checks_->showOutcome(control, holdoutPeriods, found);
    if (holdoutPeriods <= 0)
        return;
    // The run's formulas are the newest rows of the list, in the order found.
    const int first = foundList_->count() - int(found.size());
    for (int i = 0; i < int(found.size()) && first + i >= 0; ++i) {
        if (found[size_t(i)].holdout)
            foundList_->item(first + i)->setToolTip(holdoutText(holdoutPeriods, *found[size_t(i)].holdout));
    }
}

void FormulaSearchWindow::updateButtons()
{
    const bool idle = !running() && !bestRates_->checking();
    bestRates_->setCheckAllowed(!running());
    // One run at a time: they share the boxes they show their progress in.
    for (const char* name : {"Command1", "Command5", "Command11", "Command12", "Command3", "Command4"})
        enable(this, name, idle);
    enable(this, "Command2", manualRun_ != nullptr);
    enable(this, "Command7", schemeRun_ && !schemeRun_->paused());
    enable(this, "Command6", schemeRun_ && schemeRun_->paused());
    categoryFrames_->setEnabled(!schemeRun_ && !smartRun_);
}

// --- saving and export ---

void FormulaSearchWindow::save(SaveMode mode)
{
    if (running())
        return;
    AnalysisSession& session = main_.session();
    const SavePath path = found_.fromScheme() ? SavePath::Scheme : SavePath::Manual;
    // The kind in force now is stored, whatever it was when the formulas were found.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = saveFoundFormulas(session.store(), found_.unsaved(), mode, selectedKind());
    QApplication::restoreOverrideCursor();
    if (!report) {
        Dialogs::warn(this, saveFinishedTitle(), report.error().message);
        return;
    }
    FormulaSelection flags = session.selection();
    applySaveSelection(*report, session.category(), mode, path, flags);
    session.selection() = flags;
    main_.refreshKeepingSelection();
    if (path == SavePath::Manual && report->lastCategory)
        selectCategory(searchNumberOf(*report->lastCategory));
    showHeldCounts();
    recomputeExpectedTotal();
    Dialogs::inform(this, saveFinishedTitle(), saveFinishedMessage());
    found_.markSaved();
    foundBox_->setText(QStringLiteral("0"));
}

void FormulaSearchWindow::exportFound()
{
    AnalysisSession& session = main_.session();
    auto report = exportFoundFormulas(session.store(), main_.currentPeriod(), found_.shownTexts());
    if (!report) {
        Dialogs::warn(this, QStringLiteral("公式中文导出"), report.error().message);
        return;
    }
    found_.markExported();
    openWrittenFile(report->path);
}

}  // namespace qeltaro::gui
