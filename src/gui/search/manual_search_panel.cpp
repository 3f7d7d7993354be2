#include "gui/search/manual_search_panel.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/found_formula_panel.h"
#include "gui/search/search_category_panel.h"
#include "gui/search/best_rates_panel.h"
#include "gui/search/search_checks_panel.h"
#include "gui/search/threshold_editor.h"
#include "search/scheme_settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qeltaro::gui {

ManualSearchPanel::ManualSearchPanel(const SearchWindowParts& parts) : SearchRunPanel(parts)
{
    startButton_ = searchButton("Command1", QStringLiteral("开始搜索(&F)"));
    stopButton_ = searchButton("Command2", QStringLiteral("暂停搜索(&E)"));
    connect(startButton_, &QPushButton::clicked, this, &ManualSearchPanel::start);
    connect(stopButton_, &QPushButton::clicked, this, &ManualSearchPanel::stop);
    autoStop_ = new QCheckBox(QStringLiteral("自动中止"));
    autoStop_->setObjectName(QStringLiteral("Check1"));
    autoStop_->setToolTip(QStringLiteral("勾选后，搜到的公式（含以前各次未保存的）达到右边的数量时自动停止搜索"));
    stopCountBox_ = namedBox(QStringLiteral("Text1_15"), 56);
    stopCountBox_->setText(QStringLiteral("50"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(startButton_);
    layout->addWidget(stopButton_);
    layout->addSpacing(16);
    layout->addWidget(autoStop_);
    layout->addWidget(stopCountBox_);
    layout->addWidget(new QLabel(QStringLiteral("条")));
    layout->addStretch();
}

void ManualSearchPanel::showIdle(bool idle)
{
    startButton_->setEnabled(idle);
    stopButton_->setEnabled(running());
}

void ManualSearchPanel::showStopCount(long long count)
{
    stopCountBox_->setText(QString::number(count));
}

void ManualSearchPanel::stopAndWait()
{
    job_->stop();
    job_->wait();
}

std::optional<ManualSearchOrder> ManualSearchPanel::order(const QString& title)
{
    auto thresholds = parts_.thresholds.read();
    if (!thresholds) {
        Dialogs::warn(window(), title, thresholds.error().message + QStringLiteral("，请改正后再开始搜索。"));
        return std::nullopt;
    }
    const SearchCategoryPanel& category = parts_.category;
    const auto constant = parts_.category.readConstant(title);
    if (!constant)
        return std::nullopt;
    std::optional<long long> stopCount;
    if (autoStop_->isChecked()) {
        stopCount = wantedCountFromText(stopCountBox_->text());
        if (!stopCount) {
            Dialogs::warn(window(), title, QStringLiteral("自动中止的公式数“%1”不是数字，请改正后再开始搜索。")
                                               .arg(stopCountBox_->text().trimmed()));
            return std::nullopt;
        }
    }
    ManualSearchOrder order;
    SearchRequest& request = order.request;
    request.shape = {category.category(), category.kind(), category.operandCount(), *constant, category.form()};
    order.operandCount = category.operandCount();
    order.thresholds = *thresholds;
    request.window = SearchWindow::fromMirror(parts_.main.session().mirror());
    request.stopCount = stopCount;
    request.alreadyFound = parts_.found.unsavedCount();
    request.seed = freshSearchSeed();
    request.holdoutPeriods = parts_.checks.holdoutPeriods();
    return order;
}

void ManualSearchPanel::start()
{
    const QString title = QStringLiteral("开始搜索");
    if (!idle())
        return;
    const auto ordered = order(title);
    if (!ordered)
        return;
    AnalysisSession& session = parts_.main.session();
    const auto history = copyForRun(session.history());
    auto ready = checkedRequest<SearchRequest>(window(), title, FormulaSearch(session.store(), parts_.settings), *ordered, *history);
    if (!ready)
        return;
    parts_.found.beginManualRun();
    foundBeforeRun_ = parts_.found.unsavedCount();
    job_ = std::make_unique<ManualSearchJob>(session.store().dataDir(), history, std::move(*ready), kReportInterval);
    clock_.start();
    feed_.restart();
    beginPolling();
    job_->start();
}

void ManualSearchPanel::stop()
{
    if (job_)
        job_->stop();
}

void ManualSearchPanel::poll()
{
    // Whether the run had ended is read before its progress, so what it found last is not missed.
    const bool done = job_->finished();
    const SearchProgress progress = job_->progress();
    parts_.found.add(feed_.takeNew(job_->feed()));
    parts_.counters.showVerified(progress.verified);
    parts_.counters.showFound(parts_.found.unsavedCount());
    parts_.showCandidate(progress.currentText, progress.currentStats);
    parts_.showPasses(clock_, progress.verified, parts_.found.unsavedCount() - foundBeforeRun_, progress.controlPasses,
                      progress.best);
    if (!done)
        return;
    finish();
    endPolling();
}

void ManualSearchPanel::finish()
{
    job_->wait();
    const SearchOutcome& outcome = job_->outcome();
    parts_.counters.showVerified(outcome.verified);
    parts_.showChecks(outcome.control, outcome.holdoutPeriods, outcome.found);
    parts_.bestRates.showRates(outcome.best);
    parts_.bestRates.offerCheck(job_->sharedHistory(), realityCheckOf(job_->request(), outcome, kDefaultRealityCopies));
    keepRecord(job_->finish());
    job_.reset();
}

}  // namespace qeltaro::gui
