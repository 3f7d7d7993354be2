#include "gui/predictions/journal_window.h"

#include "gui/common/background_task.h"
#include "gui/common/chart_image.h"
#include "gui/common/dialogs.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/common/sheet_export.h"
#include "gui/predictions/cumulative_chart.h"
#include "gui/predictions/prediction_table_model.h"
#include "method/searched_walk_forward.h"
#include "search/scheme_settings.h"
#include "search/search_job.h"
#include "session/analysis_session.h"

#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace qeltaro::gui {
namespace {

const QString kTitle = QStringLiteral("预测记录");
const QString kWalkTitle = QStringLiteral("历史模拟检验");
constexpr int kDefaultWalkPeriods = 120;  // one day of draws

QTableView* predictionGrid(const char* name, PredictionTableModel* model)
{
    auto* grid = new QTableView;
    setUpReadOnlyGrid(grid, name);
    grid->setModel(model);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QLabel* summaryLabel(const char* name)
{
    QLabel* label = textLabel(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QString walkHeading(const WalkForwardRequest& request, int periods, std::optional<std::uint64_t> candidates)
{
    const bool best = request.method == CalculationMethod::Best;
    QString heading = QStringLiteral("%1 最新%2期 %3")
                          .arg(predictionKindText(request.category, request.kind))
                          .arg(periods)
                          .arg(calculationMethodWord(request.method));
    if (candidates)
        heading += QStringLiteral("（含公式搜索，每期每表%1条）").arg(*candidates);
    if (best)
        heading += QStringLiteral("（%1，保留个数限额%2）").arg(sortKeysText(request.sort.choices())).arg(request.sort.keepLimit);
    return heading;
}

}  // namespace

JournalWindow::JournalWindow(AnalysisSession& session, std::function<WalkForwardRequest()> walkForwardRequest,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), store_(session.store()),
      walkForwardRequest_(std::move(walkForwardRequest))
{
    setObjectName(QStringLiteral("frmJournal"));
    setWindowTitle(kTitle);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(buildJournalPanel());
    splitter->addWidget(buildWalkForwardPanel());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    // The journal's twelve columns want more room than the walk's ten.
    splitter->setSizes({790, 560});
    splitter->setChildrenCollapsible(false);

    auto* exportButton = namedButton(QStringLiteral("cmdExport"), QStringLiteral("导出到EXCEL表格"));
    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::exportWorkbook);
    auto* clearButton = namedButton(QStringLiteral("cmdClear"), QStringLiteral("清空预测记录"));
    connect(clearButton, &QPushButton::clicked, this, &JournalWindow::clearAsked);
    auto* saveButton = namedButton(QStringLiteral("cmdSaveImage"), saveImageCaption());
    auto* closeButton = closeWindowButton(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addWidget(clearButton);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);

    successChart_ = std::make_unique<CumulativeChart>(CumulativeChart::Words{
        "chtJournal", kTitle, QStringLiteral("累计成功"), QStringLiteral("可检验的预测（按时间先后）"),
        QStringLiteral("次数"), Qt::AlignRight});
    moneyChart_ = std::make_unique<CumulativeChart>(CumulativeChart::Words{
        "chtMoney", QStringLiteral("预测记录盈亏"), QStringLiteral("累计盈亏"), QStringLiteral("已开奖的预测（按时间先后）"),
        QStringLiteral("盈亏（元）"), Qt::AlignBottom});
    auto* charts = new QHBoxLayout;
    charts->addWidget(successChart_->view(), 1);
    charts->addWidget(moneyChart_->view(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 3);
    layout->addLayout(charts, 2);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] { saveChartImage(successChart_->view(), kTitle); });

    // A draw typed, imported, downloaded or deleted judges the entries waiting for it.
    connect(&session_, &AnalysisSession::historyChanged, this, [this] {
        if (isVisible())
            reload();
    });
    resize(1360, 700);
}

JournalWindow::~JournalWindow() = default;

QWidget* JournalWindow::buildJournalPanel()
{
    categoryBox_ = new QComboBox;
    categoryBox_->setObjectName(QStringLiteral("cboCategory"));
    categoryBox_->addItem(QStringLiteral("全部类别"));
    for (const Category& category : Category::all())
        categoryBox_->addItem(category.caption(), category.suffix());
    kindBox_ = new QComboBox;
    kindBox_->setObjectName(QStringLiteral("cboKind"));
    kindBox_->addItem(QStringLiteral("杀码和留码"));
    kindBox_->addItem(QStringLiteral("杀码"), true);
    kindBox_->addItem(QStringLiteral("留码"), false);
    for (QComboBox* box : {categoryBox_, kindBox_})
        connect(box, &QComboBox::currentIndexChanged, this, &JournalWindow::reload);

    journalModel_ = new PredictionTableModel(true, this);
    journalGrid_ = predictionGrid("grdJournal", journalModel_);
    journalGrid_->setToolTip(QStringLiteral("每次“计算公式”计算下期时记录一条；开奖后与开出的号码比较"));
    journalSummary_ = summaryLabel("lblJournalSummary");

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("类别：")));
    filters->addWidget(categoryBox_);
    filters->addWidget(new QLabel(QStringLiteral("种类：")));
    filters->addWidget(kindBox_);
    filters->addStretch();

    auto* box = new QGroupBox(kTitle);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(filters);
    layout->addWidget(journalGrid_, 1);
    layout->addWidget(journalSummary_);
    return box;
}

QWidget* JournalWindow::buildWalkForwardPanel()
{
    periodsBox_ = new QSpinBox;
    periodsBox_->setObjectName(QStringLiteral("txtPeriods"));
    periodsBox_->setRange(1, 100000);
    periodsBox_->setValue(kDefaultWalkPeriods);
    periodsBox_->setSuffix(QStringLiteral(" 期"));
    periodsBox_->setToolTip(QStringLiteral("检验最新这么多期：每一期只用它之前的历史号码计算，再与该期开奖号码比较"));
    startButton_ = namedButton(QStringLiteral("cmdStart"), QStringLiteral("开始检验"));
    startButton_->setToolTip(QStringLiteral("按主窗口当前的类别、杀码/留码、计算方法、排序设置和选中的公式检验"));
    connect(startButton_, &QPushButton::clicked, this, &JournalWindow::startWalkForward);
    stopButton_ = namedButton(QStringLiteral("cmdStop"), QStringLiteral("停止"));
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("prgWalk"));
    progress_->setValue(0);
    task_ = new BackgroundTask(progress_, stopButton_, this);

    walkTitle_ = summaryLabel("lblWalkTitle");
    walkTitle_->setText(QStringLiteral("尚未检验：设置期数后按“开始检验”。"));
    walkModel_ = new PredictionTableModel(false, this);
    walkGrid_ = predictionGrid("grdWalk", walkModel_);
    walkSummary_ = summaryLabel("lblWalkSummary");

    searchCheck_ = new QCheckBox(QStringLiteral("含公式搜索"));
    searchCheck_->setObjectName(QStringLiteral("chkWalkSearch"));
    searchCheck_->setToolTip(QStringLiteral("检验整个方法：每一期先只用它之前的历史为各公式表重新搜索公式（搜索窗口中保存的参数设置），"
                                            "再用搜到的公式计算该期；不用公式库中的公式，也不保存任何结果"));
    candidatesBox_ = new QSpinBox;
    candidatesBox_->setObjectName(QStringLiteral("txtWalkCandidates"));
    candidatesBox_->setRange(1, 100'000'000);
    candidatesBox_->setValue(int(kDefaultWalkCandidates));
    candidatesBox_->setGroupSeparatorShown(true);
    candidatesBox_->setSuffix(QStringLiteral(" 条"));
    candidatesBox_->setToolTip(QStringLiteral("每期每个公式表验证的候选公式数"));
    candidatesBox_->setEnabled(false);
    connect(searchCheck_, &QCheckBox::toggled, candidatesBox_, &QWidget::setEnabled);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("检验期数：")));
    controls->addWidget(periodsBox_);
    controls->addWidget(startButton_);
    controls->addWidget(stopButton_);
    controls->addWidget(progress_, 1);
    auto* searching = new QHBoxLayout;
    searching->addWidget(searchCheck_);
    searching->addWidget(new QLabel(QStringLiteral("每期验证")));
    searching->addWidget(candidatesBox_);
    searching->addStretch();

    auto* box = new QGroupBox(kWalkTitle);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(controls);
    layout->addLayout(searching);
    layout->addWidget(walkTitle_);
    layout->addWidget(walkGrid_, 1);
    layout->addWidget(walkSummary_);
    return box;
}

void JournalWindow::showEvent(QShowEvent* event)
{
    reload();
    QWidget::showEvent(event);
}

void JournalWindow::closeEvent(QCloseEvent* event)
{
    // Nobody would see the rest of a run.
    stopWalkForward();
    QWidget::closeEvent(event);
}

void JournalWindow::reload()
{
    std::optional<Category> category;
    if (const QVariant suffix = categoryBox_->currentData(); suffix.isValid())
        category = Category::fromSuffix(suffix.toString());
    std::optional<Kind> kind;
    if (const QVariant chosen = kindBox_->currentData(); chosen.isValid())
        kind = kindOfKillFlag(chosen.toBool());
    auto report = readJournal(store_, category, kind);
    if (!report) {
        journalSummary_->setText(report.error().message);
        report_ = {};
    } else {
        report_ = std::move(*report);
        journalSummary_->setText(report_.entries.empty()
                                     ? QStringLiteral("预测记录为空：每次“计算公式”计算下期时记录一条。")
                                     : journalSummaryLines(report_).join(u'\n'));
    }
    journalModel_->setRows(journalRows(report_));
    if (journalModel_->rowCount() > 0)
        journalGrid_->scrollToBottom();
    redrawChart();
}

void JournalWindow::exportWorkbook()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto written = writeJournalWorkbook(store_.dataDir(), report_);
    QApplication::restoreOverrideCursor();
    finishListExport(this, written);
}

void JournalWindow::clearAsked()
{
    if (!Dialogs::confirm(this, QStringLiteral("清空预测记录"),
                          QStringLiteral("删除全部预测记录（不只是当前显示的类别和种类）吗？删除后无法恢复。")))
        return;
    if (auto cleared = clearJournal(store_); !cleared)
        Dialogs::warn(this, QStringLiteral("清空预测记录"), cleared.error().message);
    reload();
}

bool JournalWindow::walkForwardRunning() const
{
    return task_->busy();
}

void JournalWindow::startWalkForward()
{
    if (task_->busy())
        return;
    WalkForwardRequest request = walkForwardRequest_();
    request.periods = periodsBox_->value();
    if (searchCheck_->isChecked()) {
        startSearchedWalk(request);
        return;
    }
    // The formulas are read here; the worker walks copies of them and of the history the main
    // window shows, so the window stays free to change the store meanwhile.
    auto formulas = loadWalkForwardFormulas(store_, request);
    if (!formulas) {
        Dialogs::warn(this, kWalkTitle, formulas.error().message);
        return;
    }
    auto walked = std::make_shared<const WalkForwardFormulas>(std::move(*formulas));
    runWalk(request, std::nullopt, [walked, request](const HistoryColumns& history, Progress& progress) {
        return walkForward(*walked, history, request, &progress);
    });
}

void JournalWindow::runWalk(const WalkForwardRequest& request, std::optional<std::uint64_t> candidates,
                            std::function<Result<WalkForwardResult>(const HistoryColumns&, Progress&)> walk)
{
    auto history = std::make_shared<const HistoryColumns>(session_.history());
    auto result = std::make_shared<Result<WalkForwardResult>>(Error{});
    startButton_->setEnabled(false);
    walkTitle_->setText(QStringLiteral("正在检验：%1").arg(walkHeading(request, request.periods, candidates)));
    task_->start([walk = std::move(walk), history, result](Progress& progress) { *result = walk(*history, progress); },
                 [this, result, request, candidates] { finishWalkForward(*result, request, candidates); });
}

void JournalWindow::startSearchedWalk(const WalkForwardRequest& request)
{
    SearchedWalkOrder order;
    order.request.walk = request;
    order.request.candidates = std::uint64_t(candidatesBox_->value());
    order.request.seed = freshSearchSeed();
    auto plan = planSearchedWalk(store_, SchemeSettings(session_.settings()), order);
    if (!plan) {
        Dialogs::warn(this, kWalkTitle, plan.error().message);
        return;
    }
    auto planned = std::make_shared<const SearchedWalkPlan>(std::move(*plan));
    runWalk(request, order.request.candidates, [planned](const HistoryColumns& history, Progress& progress) {
        return walkForwardWithSearch(*planned, history, &progress);
    });
}

void JournalWindow::stopWalkForward()
{
    if (task_->busy())
        stopButton_->click();
}

void JournalWindow::finishWalkForward(const Result<WalkForwardResult>& result, const WalkForwardRequest& request,
                                      std::optional<std::uint64_t> candidates)
{
    startButton_->setEnabled(true);
    if (!result) {
        walkModel_->setRows({});
        walkSummary_->clear();
        walkTitle_->setText(result.error().kind == ErrorKind::Cancelled ? QStringLiteral("已停止检验。") : result.error().message);
        if (result.error().kind != ErrorKind::Cancelled)
            Dialogs::warn(this, kWalkTitle, result.error().message);
        redrawChart();
        return;
    }
    walkTitle_->setText(walkHeading(request, int(result->periods.size()), candidates));
    walkModel_->setRows(walkForwardRows(*result, request));
    if (walkModel_->rowCount() > 0)
        walkGrid_->scrollToBottom();
    QStringList summary{predictionSummaryLine(result->summary), predictionVerdict(result->summary),
                        moneySummaryLine(result->money, result->prizes)};
    if (candidates)
        summary.prepend(searchedWalkLine(*result));
    walkSummary_->setText(summary.join(u'\n'));
    redrawChart();
    if (!result->problems.isEmpty()) {
        constexpr int kShown = 10;
        QStringList lines = result->problems.mid(0, kShown);
        if (result->problems.size() > kShown)
            lines << QStringLiteral("……另有%1条").arg(result->problems.size() - kShown);
        Dialogs::warn(this, kWalkTitle, lines.join(u'\n'));
    }
}

void JournalWindow::redrawChart()
{
    successChart_->show(cumulativeSuccesses(journalModel_->rows()), cumulativeSuccesses(walkModel_->rows()));
    moneyChart_->show(cumulativeMoney(journalModel_->rows()), cumulativeMoney(walkModel_->rows()));
}

}  // namespace qeltaro::gui
