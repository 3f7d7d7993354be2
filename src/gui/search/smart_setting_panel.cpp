#include "gui/search/smart_setting_panel.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/search_category_panel.h"
#include "gui/search/search_run_support.h"
#include "gui/search/threshold_editor.h"
#include "search/formula_search.h"
#include "search/search_job.h"
#include "search/scheme_settings.h"
#include "search/search_category.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QGroupBox>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qeltaro::gui {
namespace {

constexpr int kSampleScrollMin = 20;
constexpr int kSampleScrollMax = 1000;

}  // namespace

SmartSettingPanel::SmartSettingPanel(const SearchWindowParts& parts) : SearchRunPanel(parts)
{
    auto* content = new QVBoxLayout;
    auto* samples = new QHBoxLayout;
    samples->addWidget(new QLabel(QStringLiteral("检索公式数")));
    sampleScroll_ = new QScrollBar(Qt::Horizontal);
    sampleScroll_->setObjectName(QStringLiteral("HScroll2"));
    sampleScroll_->setRange(kSampleScrollMin, kSampleScrollMax);
    sampleScroll_->setSingleStep(20);
    sampleScroll_->setPageStep(100);
    samples->addWidget(sampleScroll_, 1);
    sampleBox_ = namedBox(QStringLiteral("Text7"), 56);
    samples->addWidget(sampleBox_);
    connect(sampleScroll_, &QScrollBar::valueChanged, this,
            [this](int value) { sampleBox_->setText(QString::number(value)); });
    content->addLayout(samples);
    oneButton_ = searchButton("Command11", QStringLiteral("当前公式类在指定范围内检索最优参数设置"));
    allButton_ = searchButton("Command12", QStringLiteral("所有公式类在指定范围内检索最优参数设置并保存"));
    connect(oneButton_, &QPushButton::clicked, this, [this] { start(false); });
    connect(allButton_, &QPushButton::clicked, this, [this] { start(true); });
    content->addWidget(oneButton_);
    content->addWidget(allButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titledFrame(QStringLiteral("公式参数智能设置"), content));

    sampleScroll_->setValue(kDefaultSampleCount);
    sampleBox_->setText(QString::number(kDefaultSampleCount));
}

void SmartSettingPanel::showIdle(bool idle)
{
    oneButton_->setEnabled(idle);
    allButton_->setEnabled(idle);
}

void SmartSettingPanel::stopAndWait()
{
    run_->stop();
    run_->wait();
}

std::optional<int> SmartSettingPanel::readSampleCount(const QString& title)
{
    bool ok = false;
    const int count = sampleBox_->text().trimmed().toInt(&ok);
    if (!ok || count < 1 || count > kMaxSampleCount) {
        Dialogs::warn(window(), title, QStringLiteral("检索公式数“%1”应为1到%2之间的整数。").arg(sampleBox_->text().trimmed()).arg(kMaxSampleCount));
        sampleBox_->setFocus();
        return std::nullopt;
    }
    return count;
}

std::optional<SmartSettingRequest> SmartSettingPanel::request(const QString& title, bool allCategories)
{
    const SearchCategoryPanel& category = parts_.category;
    const auto constant = parts_.category.readConstant(title);
    if (!constant)
        return std::nullopt;
    const auto samples = readSampleCount(title);
    if (!samples)
        return std::nullopt;
    SmartSettingRequest request;
    request.kind = category.kind();
    request.samples = *samples;
    request.constant = *constant;
    request.window = SearchWindow::fromMirror(parts_.main.session().mirror());
    request.seed = freshSearchSeed();
    if (allCategories) {
        for (int number : smartSettingAllOrder())
            request.categories.push_back({number, parts_.settings.thresholds(request.kind, number), parts_.settings.operandCount(number)});
    } else {
        request.categories.push_back({category.searchNumber(), parts_.thresholds.readLoose(), category.operandCount()});
    }
    return request;
}

void SmartSettingPanel::start(bool allCategories)
{
    const QString title = allCategories ? QStringLiteral("更新参数默认设置") : QStringLiteral("公式参数智能设置");
    if (!idle())
        return;
    if (allCategories &&
        !Dialogs::confirm(window(), title,
                          QStringLiteral("此操作将耗时一分钟到数分钟自动搜索分析各类公式并分析其参数值，归纳出相对参数较高的数值为设置"
                                         "软件各类公式搜索的默认值，操作后各类公式搜索默认值将改变，是否确认更改搜索默认值？")))
        return;
    auto ready = request(title, allCategories);
    if (!ready)
        return;
    const HistoryColumns& history = parts_.main.session().history();
    if (Status s = checkSearchHistory(history); !s) {
        Dialogs::warn(window(), title, s.error().message + QStringLiteral("。"));
        return;
    }
    allCategories_ = allCategories;
    kind_ = ready->kind;
    shownCategory_ = 0;
    run_ = std::make_unique<SmartSettingRun>(copyForRun(history), std::move(*ready));
    run_->setReportInterval(kReportInterval);
    beginPolling();
    run_->start();
}

void SmartSettingPanel::poll()
{
    const bool done = run_->finished();
    const SmartSettingProgress progress = run_->progress();
    if (allCategories_ && progress.category != 0 && progress.category != shownCategory_) {
        shownCategory_ = progress.category;
        parts_.category.selectCategory(progress.category);
    }
    parts_.counters.showVerified(std::uint64_t(progress.samples));
    if (progress.samples > 0)
        parts_.showCandidate(parts_.counters.candidate(), progress.latest);
    if (!done)
        return;
    finish();
    endPolling();
}

void SmartSettingPanel::finish()
{
    run_->wait();
    const SmartSettingOutcome outcome = run_->outcome();
    run_.reset();
    if (outcome.stopped || outcome.results.empty())
        return;
    if (allCategories_)
        storeAll(outcome);
    else
        // Only the proposed bounds change; the user stores them with 保存当前种类参数设置.
        parts_.thresholds.showProposal(outcome.results.front().thresholds);
}

void SmartSettingPanel::storeAll(const SmartSettingOutcome& outcome)
{
    QStringList problems;
    for (const SmartSettingResult& result : outcome.results) {
        if (Status s = parts_.settings.setThresholds(kind_, result.searchNumber, result.thresholds); !s)
            problems << categoryOfSearchNumber(result.searchNumber)->caption() + QStringLiteral("：") + s.error().message;
    }
    // The run ends on 一星直选, as the window then shows.
    parts_.category.selectCategory(outcome.results.back().searchNumber);
    if (!problems.isEmpty())
        Dialogs::warn(window(), QStringLiteral("更新参数默认设置"), problems.join(u'\n'));
}

}  // namespace qeltaro::gui
