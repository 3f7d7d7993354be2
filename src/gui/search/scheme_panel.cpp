#include "gui/search/scheme_panel.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/found_formula_panel.h"
#include "gui/search/search_category_panel.h"
#include "gui/search/best_rates_panel.h"
#include "gui/search/search_checks_panel.h"
#include "search/search_category.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace qeltaro::gui {
namespace {

const char16_t* const kStars[5] = {u"一星", u"二星", u"三星", u"四星", u"五星"};

}  // namespace

SchemePanel::SchemePanel(const SearchWindowParts& parts) : SearchRunPanel(parts)
{
    auto* content = new QVBoxLayout;
    auto* frames = new QHBoxLayout;
    frames->addWidget(buildWantedFrame(QStringLiteral("直选"), 1));
    frames->addWidget(buildWantedFrame(QStringLiteral("组选"), 6));
    content->addLayout(frames);
    content->addLayout(buildEndChoices());

    auto* total = new QHBoxLayout;
    total->addWidget(new QLabel(QStringLiteral("公式总保有量")));
    expectedTotal_ = new QLabel(QStringLiteral("0"));
    expectedTotal_->setObjectName(QStringLiteral("Label6"));
    expectedTotal_->setFrameShape(QFrame::StyledPanel);
    expectedTotal_->setMinimumWidth(70);
    expectedTotal_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    total->addWidget(expectedTotal_);
    total->addStretch();
    content->addLayout(total);
    content->addLayout(buildButtons());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titledFrame(QStringLiteral("公式搜索方案"), content));

    // The state every opening starts from: new formulas, replacing the tables' at the end.
    countModeOptions_[1]->setChecked(true);
    endSaveChecks_[1]->setChecked(true);
}

QGroupBox* SchemePanel::buildWantedFrame(const QString& title, int firstNumber)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(new QLabel(QStringLiteral("数量")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("现有")), 0, 2, Qt::AlignCenter);
    for (int row = 0; row < 5; ++row) {
        const int number = firstNumber + row;
        auto* label = new QLabel(QString::fromUtf16(kStars[row]));
        label->setObjectName(QStringLiteral("Label4_%1").arg(number));
        auto* wanted = namedBox(QStringLiteral("Text5_%1").arg(number), 52);
        auto* held = new QLabel(QStringLiteral("0"));
        held->setObjectName(QStringLiteral("Label5_%1").arg(number));
        held->setMinimumWidth(40);
        held->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        categoryLabels_[size_t(number)] = label;
        wantedBoxes_[size_t(number)] = wanted;
        heldLabels_[size_t(number)] = held;
        if (!categoryOfSearchNumber(number)) {
            // 组选一星 has no table: shown for the layout, never searched.
            label->setEnabled(false);
            wanted->setEnabled(false);
            held->setEnabled(false);
        }
        connect(wanted, &QLineEdit::textChanged, this, &SchemePanel::recomputeExpectedTotal);
        grid->addWidget(label, row + 1, 0);
        grid->addWidget(wanted, row + 1, 1);
        grid->addWidget(held, row + 1, 2);
    }
    return titledFrame(title, grid);
}

QLayout* SchemePanel::buildEndChoices()
{
    auto* choices = new QVBoxLayout;
    auto* modes = new QHBoxLayout;
    countModeOptions_[0] = addOption(modes, QStringLiteral("Option4_0"), QStringLiteral("公式保有数量"));
    countModeOptions_[1] = addOption(modes, QStringLiteral("Option4_1"), QStringLiteral("公式新增数量"));
    connect(countModeOptions_[0], &QRadioButton::clicked, this, [this] { chooseCountMode(CountMode::Hold); });
    connect(countModeOptions_[1], &QRadioButton::clicked, this, [this] { chooseCountMode(CountMode::Add); });
    choices->addLayout(modes);
    const QString checks[2] = {QStringLiteral("搜索完毕公式自动追加到数据库"), QStringLiteral("搜索完毕公式自动更新到数据库")};
    for (int i = 0; i < 2; ++i) {
        auto* check = new QCheckBox(checks[i]);
        check->setObjectName(QStringLiteral("chkAutApd_%1").arg(i));
        endSaveChecks_[size_t(i)] = check;
        choices->addWidget(check);
        // At most one: checking one clears the other.
        connect(check, &QCheckBox::clicked, this, [this, i](bool checked) {
            if (checked)
                endSaveChecks_[size_t(1 - i)]->setChecked(false);
            recomputeExpectedTotal();
        });
    }
    return choices;
}

QLayout* SchemePanel::buildButtons()
{
    auto* buttons = new QVBoxLayout;
    auto* stored = new QHBoxLayout;
    auto* save = searchButton("Command9", QStringLiteral("保存设置"));
    auto* load = searchButton("Command10", QStringLiteral("调用设置"));
    connect(save, &QPushButton::clicked, this, &SchemePanel::saveWantedCounts);
    connect(load, &QPushButton::clicked, this, &SchemePanel::loadWantedCounts);
    stored->addWidget(save);
    stored->addWidget(load);
    buttons->addLayout(stored);

    startButton_ = searchButton("Command5", QStringLiteral("确定搜索方案开始搜索"));
    connect(startButton_, &QPushButton::clicked, this, &SchemePanel::start);
    buttons->addWidget(startButton_);
    auto* pauseResume = new QHBoxLayout;
    pauseButton_ = searchButton("Command7", QStringLiteral("暂停"));
    resumeButton_ = searchButton("Command6", QStringLiteral("继续"));
    connect(pauseButton_, &QPushButton::clicked, this, &SchemePanel::pause);
    connect(resumeButton_, &QPushButton::clicked, this, &SchemePanel::resume);
    pauseResume->addWidget(pauseButton_);
    pauseResume->addWidget(resumeButton_);
    buttons->addLayout(pauseResume);
    return buttons;
}

// --- the counts ---

WantedCounts SchemePanel::wantedCounts() const
{
    WantedCounts counts;
    for (int number = 1; number <= kSearchCategoryCount; ++number) {
        if (categoryOfSearchNumber(number))
            counts[size_t(number - 1)] = wantedCountFromText(wantedBoxes_[size_t(number)]->text());
    }
    return counts;
}

CountMode SchemePanel::countMode() const
{
    return countModeOptions_[0]->isChecked() ? CountMode::Hold : CountMode::Add;
}

void SchemePanel::loadHeldCounts()
{
    auto counts = heldFormulaCounts(parts_.main.session().store());
    if (!counts)
        Dialogs::warn(window(), QStringLiteral("公式数量"), counts.error().message);
    held_ = counts ? *counts : HeldCounts{};
    for (int number = 1; number <= kSearchCategoryCount; ++number)
        heldLabels_[size_t(number)]->setText(QString::number(held_[size_t(number - 1)]));
}

void SchemePanel::showOpeningCounts()
{
    loadHeldCounts();
    expectedTotal_->setText(QString::number(std::accumulate(held_.begin(), held_.end(), 0LL)));
}

void SchemePanel::showHeldCounts()
{
    loadHeldCounts();
    recomputeExpectedTotal();
}

void SchemePanel::recomputeExpectedTotal()
{
    expectedTotal_->setText(QString::number(expectedTotal(wantedCounts(), held_, countMode(), endSaveChecks_[0]->isChecked())));
}

void SchemePanel::chooseCountMode(CountMode mode)
{
    // Holding a number means adding to the tables at the end; adding new ones means replacing.
    endSaveChecks_[0]->setChecked(mode == CountMode::Hold);
    endSaveChecks_[1]->setChecked(mode == CountMode::Add);
    recomputeExpectedTotal();
}

void SchemePanel::saveWantedCounts()
{
    parts_.settings.setWantedCounts(parts_.category.kind(), wantedCounts());
}

void SchemePanel::loadWantedCounts()
{
    const WantedCounts counts = parts_.settings.wantedCounts(parts_.category.kind());
    for (int number = 1; number <= kSearchCategoryCount; ++number) {
        if (!categoryOfSearchNumber(number))
            continue;
        const auto& count = counts[size_t(number - 1)];
        wantedBoxes_[size_t(number)]->setText(count ? QString::number(*count) : QString());
    }
    recomputeExpectedTotal();
}

void SchemePanel::markCategoryLabels(int current, bool finished)
{
    // Red for the category under way, blue for those done, the others as they were at first.
    const auto& order = schemeOrder();
    const auto at = std::find(order.begin(), order.end(), current);
    const std::ptrdiff_t currentIndex = at == order.end() ? -1 : at - order.begin();
    for (std::ptrdiff_t k = 0; k < std::ptrdiff_t(order.size()); ++k) {
        QLabel* label = categoryLabels_[size_t(order[size_t(k)])];
        QPalette palette = QPalette();
        if (finished || k < currentIndex)
            palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        else if (k == currentIndex)
            palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        label->setPalette(palette);
    }
}

// --- the run ---

void SchemePanel::showIdle(bool idle)
{
    startButton_->setEnabled(idle);
    showPauseButtons();
}

void SchemePanel::showPauseButtons()
{
    pauseButton_->setEnabled(job_ && !job_->paused());
    resumeButton_->setEnabled(job_ && job_->paused());
}

void SchemePanel::start()
{
    const QString title = QStringLiteral("确定搜索方案开始搜索");
    if (!idle())
        return;
    const auto constant = parts_.category.readConstant(title);
    if (!constant)
        return;
    SchemeSearchOrder order;
    SchemeRequest& request = order.request;
    request.kind = parts_.category.kind();
    request.holdoutPeriods = parts_.checks.holdoutPeriods();
    order.wanted = wantedCounts();
    request.mode = countMode();
    request.constant = *constant;
    request.form = parts_.category.form();
    AnalysisSession& session = parts_.main.session();
    request.window = SearchWindow::fromMirror(session.mirror());
    request.seed = freshSearchSeed();
    const auto history = copyForRun(session.history());
    auto ready = checkedRequest<SchemeRequest>(window(), title, FormulaSearch(session.store(), parts_.settings), order, *history);
    if (!ready)
        return;

    parts_.found.beginSchemeRun();
    parts_.counters.showFound(0);
    markCategoryLabels(schemeOrder().front(), false);
    shownCategory_ = 0;
    job_ = std::make_unique<SchemeSearchJob>(session.store().dataDir(), history, std::move(*ready), kReportInterval);
    clock_.start();
    feed_.restart();
    beginPolling();
    job_->start();
}

void SchemePanel::pause()
{
    if (!job_ || job_->paused())
        return;
    job_->pause();
    clock_.pause();
    showPauseButtons();
}

void SchemePanel::resume()
{
    if (!job_ || !job_->paused())
        return;
    job_->resume();
    clock_.resume();
    showPauseButtons();
}

void SchemePanel::stopAndWait()
{
    job_->stop();
    job_->wait();
}

void SchemePanel::poll()
{
    // Whether the run had ended is read before its progress, so what it found last is not missed.
    const bool done = job_->finished();
    const SchemeProgress progress = job_->progress();
    parts_.found.add(feed_.takeNew(job_->feed()));
    if (progress.category != 0 && progress.category != shownCategory_)
        followCategory(progress.category);
    parts_.counters.showVerified(progress.verified);
    parts_.counters.showFound(progress.categoryFound);
    parts_.showCandidate(progress.currentText, progress.currentStats);
    parts_.showPasses(clock_, progress.verified, progress.found, progress.controlPasses, progress.best);
    if (!done)
        return;
    finish();
    endPolling();
}

void SchemePanel::followCategory(int number)
{
    // The window follows the scheme: the category's options, thresholds and target.
    shownCategory_ = number;
    markCategoryLabels(number, false);
    parts_.category.selectCategory(number);
    const SchemeRequest& request = job_->request();
    if (const auto target = schemeTarget(request.wanted, request.held, request.mode, number))
        emit targetChosen(*target);
}

void SchemePanel::finish()
{
    job_->wait();
    const SchemeOutcome outcome = job_->outcome();
    parts_.bestRates.offerCheck(job_->sharedHistory(), realityCheckOf(job_->request(), outcome, kDefaultRealityCopies));
    keepRecord(job_->finish());
    job_.reset();
    parts_.counters.showVerified(outcome.verified());
    parts_.showChecks(outcome.control, outcome.holdoutPeriods, outcome.found);
    if (!outcome.completed)
        return;
    markCategoryLabels(0, true);
    endPolling();
    // The end of a scheme saves as the check boxes say, also when nothing was found.
    if (endSaveChecks_[0]->isChecked())
        parts_.found.save(SaveMode::Append);
    else if (endSaveChecks_[1]->isChecked())
        parts_.found.save(SaveMode::Replace);
}

}  // namespace qeltaro::gui
