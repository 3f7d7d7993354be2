#include "gui/search/formula_search_window.h"

#include "gui/common/chart_image.h"
#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/found_formula_panel.h"
#include "gui/search/manual_search_panel.h"
#include "gui/search/scheme_panel.h"
#include "gui/search/search_category_panel.h"
#include "gui/search/best_rates_panel.h"
#include "gui/search/search_checks_panel.h"
#include "gui/search/search_progress_chart.h"
#include "gui/search/smart_setting_panel.h"
#include "gui/search/threshold_editor.h"
#include "search/scheme_settings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {

FormulaSearchWindow::FormulaSearchWindow(WindowHost& main)
    : QDialog(main.hostWidget()), main_(main), settings_(std::make_unique<SchemeSettings>(main.session().settings()))
{
    setObjectName(QStringLiteral("frmGSGL"));
    setWindowTitle(QStringLiteral("公式搜索设置以及搜索结果"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    // The shared parts first: every panel is handed them.
    category_ = new SearchCategoryPanel(*settings_);
    thresholds_ = new ThresholdEditor;
    found_ = new FoundFormulaPanel(main_, *category_, counters_);
    checks_ = new SearchChecksPanel;
    chart_ = new SearchProgressChart;
    bestRates_ = new BestRatesPanel;
    const SearchWindowParts parts{main_,   *settings_, *category_, *thresholds_, counters_,
                                  *found_, *chart_,    *checks_,   *bestRates_};
    manual_ = new ManualSearchPanel(parts);
    scheme_ = new SchemePanel(parts);
    smart_ = new SmartSettingPanel(parts);

    // Three columns low enough for a 1366x768 screen: the category and its thresholds; the
    // search with what it found, the checks against luck and the plot; the scheme and the
    // smart setting.
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(buildCategoryColumn());
    layout->addLayout(buildRunColumn(), 1);
    layout->addLayout(buildPanelColumn());

    connectParts();
    loadThresholds();
    scheme_->showOpeningCounts();
    updateButtons();
    resize(1340, 690);
}

FormulaSearchWindow::~FormulaSearchWindow() = default;

QLayout* FormulaSearchWindow::buildCategoryColumn()
{
    auto* column = new QVBoxLayout;
    column->addWidget(category_);
    column->addWidget(thresholds_);
    auto* save = searchButton("Command8", QStringLiteral("保存当前种类参数设置"));
    connect(save, &QPushButton::clicked, this, &FormulaSearchWindow::saveCategorySettings);
    column->addWidget(save);
    column->addStretch();
    return column;
}

QLayout* FormulaSearchWindow::buildRunColumn()
{
    auto* controls = new QGridLayout;
    controls->addWidget(manual_, 0, 0, 1, 4);
    counters_.placeIn(controls, 1);
    controls->setColumnStretch(3, 1);
    auto* top = new QWidget;
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(titledFrame(QStringLiteral("公式搜索"), controls));
    topLayout->addWidget(found_, 1);

    runColumn_ = new QVBoxLayout;
    runColumn_->addWidget(top, 1);
    // The checks against luck beside the plot, so the found list keeps its height.
    auto* bottom = new QHBoxLayout;
    checks_->setFixedWidth(270);
    bestRates_->setFixedWidth(270);
    auto* luck = new QVBoxLayout;
    luck->addWidget(checks_);
    luck->addWidget(bestRates_);
    bottom->addLayout(luck);
    chart_->setMinimumHeight(200);
    addSaveImageAction(chart_, QStringLiteral("公式搜索进度"));
    // The space beside the checks, never enlarging the window: a plot's own wish is screen-sized.
    chart_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    bottom->addWidget(chart_, 1);
    runColumn_->addLayout(bottom, 1);
    return runColumn_;
}

QLayout* FormulaSearchWindow::buildPanelColumn()
{
    auto* column = new QVBoxLayout;
    column->addWidget(scheme_);
    column->addWidget(smart_);
    column->addStretch();
    return column;
}

void FormulaSearchWindow::connectParts()
{
    connect(category_, &SearchCategoryPanel::chosen, this, &FormulaSearchWindow::loadThresholds);
    for (SearchRunPanel* panel : runPanels())
        connect(panel, &SearchRunPanel::runningChanged, this, &FormulaSearchWindow::updateButtons);
    connect(bestRates_, &BestRatesPanel::checkingChanged, this, &FormulaSearchWindow::updateButtons);
    // A scheme sets the stop count of the category it moves on to, where the user sets it.
    connect(scheme_, &SchemePanel::targetChosen, manual_, &ManualSearchPanel::showStopCount);
    connect(found_, &FoundFormulaPanel::saved, scheme_, &SchemePanel::showHeldCounts);
}

std::array<SearchRunPanel*, 3> FormulaSearchWindow::runPanels() const
{
    return {manual_, scheme_, smart_};
}

bool FormulaSearchWindow::running() const
{
    const auto panels = runPanels();
    return std::any_of(panels.begin(), panels.end(), [](const SearchRunPanel* panel) { return panel->running(); });
}

const FoundFormulaList& FormulaSearchWindow::found() const
{
    return found_->found();
}

void FormulaSearchWindow::reject()
{
    // Esc, the close button and the window manager all end here (a dialog's close rejects it).
    if (readyToClose())
        QDialog::reject();
}

bool FormulaSearchWindow::readyToClose()
{
    // Runs end first, keeping what they found up to now.
    for (SearchRunPanel* panel : runPanels())
        panel->endRun();
    bestRates_->stopCheck();
    return found_->readyToClose();
}

void FormulaSearchWindow::loadThresholds()
{
    thresholds_->showThresholds(settings_->thresholds(category_->kind(), category_->searchNumber()));
}

void FormulaSearchWindow::saveCategorySettings()
{
    const QString title = QStringLiteral("保存当前种类参数设置");
    auto thresholds = thresholds_->read();
    if (!thresholds) {
        Dialogs::warn(this, title, thresholds.error().message + QStringLiteral("，未保存。"));
        return;
    }
    const int number = category_->searchNumber();
    if (Status s = settings_->setThresholds(category_->kind(), number, *thresholds); !s) {
        Dialogs::warn(this, title, s.error().message);
        return;
    }
    if (Status s = settings_->setOperandCount(number, category_->operandCount()); !s)
        Dialogs::warn(this, title, s.error().message);
}

void FormulaSearchWindow::updateButtons()
{
    // One run at a time: they share the boxes they show their progress in.
    const bool idle = !running() && !bestRates_->checking();
    bestRates_->setCheckAllowed(!running());
    for (SearchRunPanel* panel : runPanels())
        panel->setIdle(idle);
    found_->setIdle(idle);
    category_->setChoosingEnabled(!scheme_->running() && !smart_->running());
}

}  // namespace qeltaro::gui
