#include "gui/trend/trend_window.h"

#include "domain/parameter_catalogue.h"
#include "export/trend_sheet.h"
#include "gui/common/chart_image.h"
#include "gui/common/grid_view.h"
#include "gui/common/sheet_export.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/trend/trend_grid_model.h"
#include "gui/trend/trend_header_view.h"
#include "session/analysis_session.h"
#include "trend/streaks.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {
namespace {

const QString kTitle = QStringLiteral("号码走势图");
constexpr int kLastThreeTab = 5;

}  // namespace

TrendWindow::TrendWindow(WindowHost& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("frmZoushi"));
    setWindowTitle(kTitle);

    tabs_ = new QTabBar;
    tabs_->setObjectName(QStringLiteral("tabPositions"));
    for (int position = 1; position <= 5; ++position)
        tabs_->addTab(positionName(position));
    tabs_->addTab(QStringLiteral("后三（百十个）"));
    tabs_->setExpanding(false);
    connect(tabs_, &QTabBar::currentChanged, this, &TrendWindow::showPage);

    periodsBox_ = new QComboBox;
    periodsBox_->setObjectName(QStringLiteral("cboPeriods"));
    for (int periods : kTrendPeriodChoices)
        periodsBox_->addItem(QStringLiteral("最新%1期").arg(periods), periods);
    periodsBox_->addItem(QStringLiteral("全部"));
    periodsBox_->setCurrentIndex(periodsBox_->findData(kDefaultTrendPeriods));
    connect(periodsBox_, &QComboBox::currentIndexChanged, this, &TrendWindow::showPage);

    auto* top = new QHBoxLayout;
    top->addWidget(tabs_, 1);
    top->addWidget(new QLabel(QStringLiteral("显示期数：")));
    top->addWidget(periodsBox_);

    model_ = new TrendGridModel(this);
    grid_ = new QTableView;
    setUpReadOnlyGrid(grid_, "grdTrend");
    grid_->setHorizontalHeader(new TrendHeaderView(grid_));
    grid_->setModel(model_);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setShowGrid(true);

    auto* note = textLabel(QStringLiteral("lblEqualChance"));
    note->setText(equalChanceNote());

    auto* chart = new QWidget;
    auto* chartLayout = new QVBoxLayout(chart);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(grid_, 1);
    chartLayout->addWidget(note);

    chartArea_ = new QSplitter(Qt::Horizontal);
    chartArea_->addWidget(chart);
    chartArea_->addWidget(buildStreakPanel());
    chartArea_->setStretchFactor(0, 1);
    chartArea_->setChildrenCollapsible(false);

    auto* exportButton = namedButton(QStringLiteral("cmdExport"), QStringLiteral("导出到EXCEL表格"));
    exportButton->setToolTip(QStringLiteral("把当前页写到数据文件夹的 zoushi.xlsx"));
    connect(exportButton, &QPushButton::clicked, this, &TrendWindow::exportWorkbook);
    auto* saveButton = namedButton(QStringLiteral("cmdSaveImage"), saveImageCaption());
    connect(saveButton, &QPushButton::clicked, this, [this] { saveChartImage(chartArea_, kTitle); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(chartArea_, 1);
    layout->addLayout(rightButtons({exportButton, saveButton, closeWindowButton(this)}));

    // The page and the window size stay; the rows become the history as it is now.
    connect(&host_.session(), &AnalysisSession::historyChanged, this, &TrendWindow::showPage);

    showPage();
    resize(1320, 690);
}

void TrendWindow::open(WindowHost& host)
{
    // A closed one is on its way out (deleted on close): a new one takes its place.
    TrendWindow* window = nullptr;
    for (TrendWindow* open : host.hostWidget()->findChildren<TrendWindow*>(Qt::FindDirectChildrenOnly)) {
        if (open->isVisible())
            window = open;
    }
    if (!window) {
        window = new TrendWindow(host, host.hostWidget());
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    showInFront(window);
}

QWidget* TrendWindow::buildStreakPanel()
{
    streakGrid_ = new QTableWidget(0, int(streakHeaders().size()));
    streakGrid_->setObjectName(QStringLiteral("grdStreaks"));
    streakGrid_->setHorizontalHeaderLabels(streakHeaders());
    streakGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    streakGrid_->verticalHeader()->setVisible(false);
    streakGrid_->verticalHeader()->setDefaultSectionSize(20);

    auto* note = textLabel(QStringLiteral("lblStreakNote"));
    note->setText(streakNote());

    auto* layout = new QVBoxLayout;
    layout->addWidget(streakGrid_, 1);
    layout->addWidget(note);
    return titledFrame(QStringLiteral("长龙（大小、单双的当前连出）"), layout);
}

std::optional<int> TrendWindow::chosenPeriods() const
{
    const QVariant periods = periodsBox_->currentData();
    return periods.isValid() ? std::optional<int>(periods.toInt()) : std::nullopt;
}

void TrendWindow::showPage()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int tab = tabs_->currentIndex();
    model_->setPage(TrendPage(host_.session().history(), tab == kLastThreeTab ? 0 : tab + 1, chosenPeriods()));
    fitColumns();
    showStreaks();
    QApplication::restoreOverrideCursor();
    // Once the view knows its new rows: the newest draw, with the statistics under it.
    QTimer::singleShot(0, grid_, [this] { grid_->scrollToBottom(); });
}

void TrendWindow::showStreaks()
{
    const std::vector<Streak> streaks = currentStreaks(host_.session().history());
    streakGrid_->setRowCount(int(streaks.size()));
    for (int r = 0; r < int(streaks.size()); ++r) {
        const QStringList cells = streakCells(streaks[size_t(r)]);
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignCenter);
            streakGrid_->setItem(r, c, item);
        }
    }
    // Every column whole, without a scroll bar.
    streakGrid_->resizeColumnsToContents();
    streakGrid_->setMinimumWidth(streakGrid_->horizontalHeader()->length() + 2 * streakGrid_->frameWidth()
                                 + streakGrid_->verticalScrollBar()->sizeHint().width());
}

void TrendWindow::fitColumns()
{
    // Every omission is at most its column's 最大遗漏, so the header and the statistic rows hold
    // each value column's widest text: the draw rows need not be measured.
    const TrendPage& page = *model_->page();
    const QFontMetrics plain = grid_->fontMetrics();
    QFont boldFont = grid_->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    constexpr int kPadding = 8;
    const int periodWidth = plain.horizontalAdvance(page.drawRowCount() > 0 ? page.text(0, 0) : QStringLiteral("000000000"));
    const int drawWidth = std::max(bold.horizontalAdvance(page.header(1)), plain.horizontalAdvance(QStringLiteral("00000")));
    int labelWidth = 0;
    for (const QString& label : trendStatisticLabels())
        labelWidth = std::max(labelWidth, plain.horizontalAdvance(label));
    // The statistic labels span 期号 and 开奖号.
    grid_->setColumnWidth(0, std::max(periodWidth + kPadding, labelWidth - drawWidth));
    grid_->setColumnWidth(1, drawWidth + kPadding);
    grid_->clearSpans();
    for (int r = page.drawRowCount(); r < page.rowCount(); ++r)
        grid_->setSpan(r, 0, 1, TrendPage::kLeadingColumns);
    for (int c = TrendPage::kLeadingColumns; c < page.columnCount(); ++c) {
        int width = bold.horizontalAdvance(page.header(c));
        for (int r = page.drawRowCount(); r < page.rowCount(); ++r)
            width = std::max(width, plain.horizontalAdvance(page.text(r, c)));
        grid_->setColumnWidth(c, width + kPadding);
    }
}

void TrendWindow::exportWorkbook()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto written = writeTrendWorkbook(host_.dataFolder(), *model_->page(), currentStreaks(host_.session().history()));
    QApplication::restoreOverrideCursor();
    finishListExport(this, written);
}

}  // namespace qeltaro::gui
