#include "gui/aggregate/ranking_list_window.h"

#include "aggregate/rank_histogram.h"
#include "export/list_sheets.h"
#include "gui/common/cell_table_model.h"
#include "gui/common/chart_parts.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/common/sheet_export.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {
namespace {

constexpr int kFirstRankColumn = 7;
constexpr int kFirstListColumn = 27;


}  // namespace

RankingListWindow::RankingListWindow(int categoryPositions, bool group, QString dataFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), dataFolder_(std::move(dataFolder))
{
    setObjectName(QStringLiteral("frmLslb"));
    setWindowTitle(QString::fromUtf16(kRankingListCaption));

    grid_ = new QTableView;
    setUpReadOnlyGrid(grid_, "MSFlexGrid1");
    model_ = new CellTableModel(this);
    grid_->setModel(model_);
    connect(grid_, &QTableView::doubleClicked, this, [this] { exportList(ListWorkbook::RankingList); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildControls(categoryPositions, group));
    layout->addWidget(buildSummary());
    layout->addWidget(grid_, 1);
    resize(1200, 690);
}

// The position and play choices and the window's buttons.
QBoxLayout* RankingListWindow::buildControls(int categoryPositions, bool group)
{
    auto* positionFrame = new QGroupBox(QStringLiteral("码位"));
    auto* positionLayout = new QHBoxLayout(positionFrame);
    const char16_t* const positions[5] = {u"万位", u"千位", u"百位", u"十位", u"个位"};
    for (int p = 1; p <= 5; ++p)
        positionOptions_[size_t(p)] = addOption(positionLayout, QStringLiteral("Option2_%1").arg(p), QString::fromUtf16(positions[p - 1]));
    positionOptions_[size_t(RankingList::defaultPosition(categoryPositions))]->setChecked(true);

    auto* playFrame = new QGroupBox(QStringLiteral("玩法选择"));
    auto* playLayout = new QHBoxLayout(playFrame);
    playOptions_[0] = addOption(playLayout, QStringLiteral("opTDG_0"), QStringLiteral("直选"));
    playOptions_[1] = addOption(playLayout, QStringLiteral("opTDG_1"), QStringLiteral("组选"));
    playOptions_[group ? 1 : 0]->setChecked(true);

    auto* queryButton = namedButton(QStringLiteral("Command2"), QStringLiteral("查询该位该类对应号历史排序结果"));
    connect(queryButton, &QPushButton::clicked, this, &RankingListWindow::query);
    auto* exportButton = namedButton(QStringLiteral("Command1"), QStringLiteral("查询结果导出(&O)"));
    connect(exportButton, &QPushButton::clicked, this, [this] { exportList(ListWorkbook::RankingQuery); });

    auto* controls = new QHBoxLayout;
    controls->addWidget(positionFrame);
    controls->addWidget(playFrame);
    controls->addWidget(queryButton, 0, Qt::AlignBottom);
    controls->addWidget(exportButton, 0, Qt::AlignBottom);
    controls->addWidget(closeWindowButton(this), 0, Qt::AlignBottom);
    controls->addStretch();
    return controls;
}

// Where the drawn digits fell among the ranks, as bars against the 10% of an order without information.
QGroupBox* RankingListWindow::buildSummary()
{
    histogramChart_ = newChart(0, Qt::AlignTop);
    histogramChart_->legend()->hide();
    histogramBars_ = new QBarSet(QStringLiteral("期数"));
    histogramBars_->setColor(colourOf(kBlue));
    QStringList ranks;
    for (int r = 1; r <= 10; ++r) {
        *histogramBars_ << 0;
        ranks << QString::number(r);
    }
    auto* series = new QBarSeries;
    series->append(histogramBars_);
    histogramChart_->addSeries(series);
    auto* rankAxis = new QBarCategoryAxis;
    rankAxis->append(ranks);
    rankAxis->setTitleText(QStringLiteral("排位名次"));
    histogramChart_->addAxis(rankAxis, Qt::AlignBottom);
    series->attachAxis(rankAxis);
    histogramAxis_ = new QValueAxis;
    histogramAxis_->setLabelFormat(QStringLiteral("%d"));
    histogramAxis_->setTickCount(3);
    histogramChart_->addAxis(histogramAxis_, Qt::AlignLeft);
    series->attachAxis(histogramAxis_);
    // On the category axis x counts categories from 0, so the line spans the bars' full width.
    chanceLine_ = addLineSeries(histogramChart_, QStringLiteral("随机（10%）"), QPen(QColor(200, 0, 0), 1.5, Qt::DashLine));
    chanceLine_->append(-0.5, 0);
    chanceLine_->append(9.5, 0);
    attachAxes({chanceLine_}, rankAxis, histogramAxis_);
    auto* chartView = newChartView(histogramChart_, "chtRank", QStringLiteral("排位分布"));
    chartView->setFixedSize(440, 170);
    chartView->setToolTip(QStringLiteral("红色虚线：排序不含任何信息时每个排位应有的期数（10%）"));
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("lblSummary"));
    summary_->setWordWrap(true);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* summaryFrame = new QGroupBox(QStringLiteral("开奖号码所在排位的分布"));
    auto* summaryLayout = new QHBoxLayout(summaryFrame);
    summaryLayout->addWidget(chartView);
    summaryLayout->addWidget(summary_, 1);
    return summaryFrame;
}

int RankingListWindow::position() const
{
    for (int p = 1; p <= 5; ++p) {
        if (positionOptions_[size_t(p)]->isChecked())
            return p;
    }
    return 5;
}

bool RankingListWindow::group() const
{
    return playOptions_[1]->isChecked();
}

void RankingListWindow::showReplay(std::vector<PeriodRanking> periods)
{
    periods_ = std::move(periods);
    query();
    showInFront(this);
}

void RankingListWindow::query()
{
    auto built = RankingList::build(periods_, position(), group());
    if (!built)
        return;  // the options offer valid positions only
    QApplication::setOverrideCursor(Qt::WaitCursor);
    grid_->setUpdatesEnabled(false);
    // The model's functions hold the list, so the grid never reads rows that are gone.
    auto list = std::make_shared<const RankingList>(std::move(*built));
    list_ = list;
    model_->reset({int(list->rows().size()), list->columnCount(),
                   [list](int c) { return list->headerText(c); },
                   [list](int r, int c) { return list->cellText(r, c); },
                   [list](int r, int c) { return std::optional<QColor>(colourOf(list->cellBackground(r, c))); },
                   [list](int r, int c) {
                       // White text on the blue marks, so the digit stays readable.
                       return list->cellBackground(r, c) == kBlue ? std::optional<QColor>(Qt::white)
                                                                  : std::optional<QColor>();
                   },
                   [](int c) { return c >= kFirstListColumn ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter; }});
    grid_->setColumnWidth(0, 90);
    for (int c = 1; c < kFirstRankColumn; ++c)
        grid_->setColumnWidth(c, 62);
    for (int c = kFirstRankColumn; c < kFirstListColumn; ++c)
        grid_->setColumnWidth(c, 52);
    for (int c = kFirstListColumn; c < list->columnCount(); ++c)
        grid_->setColumnWidth(c, twipsToPixels(1600));
    grid_->setUpdatesEnabled(true);
    // The newest periods matter most. Deferred: a window not yet shown does not know its height.
    const int rows = model_->rowCount();
    QTimer::singleShot(0, grid_, [this, rows] {
        if (rows > 0 && model_->rowCount() == rows)
            grid_->scrollTo(model_->index(rows - 1, 0), QAbstractItemView::PositionAtBottom);
    });
    showHistogram();
    QApplication::restoreOverrideCursor();
}

void RankingListWindow::showHistogram()
{
    const RankHistogram histogram = rankHistogram(*list_);
    summary_->setText(rankHistogramSummary(histogram));
    int largest = 0;
    for (int r = 0; r < 10; ++r) {
        histogramBars_->replace(r, histogram.counts[size_t(r)]);
        largest = std::max(largest, histogram.counts[size_t(r)]);
    }
    const double expected = histogram.rows / 10.0;
    chanceLine_->replace(0, -0.5, expected);
    chanceLine_->replace(1, 9.5, expected);
    histogramAxis_->setRange(0, std::max({1.0, double(largest), expected}));
    histogramAxis_->applyNiceNumbers();
}

void RankingListWindow::exportList(ListWorkbook which)
{
    if (list_)
        exportListSheet(this, dataFolder_, which, rankingListSheet(*list_));
}

}  // namespace qeltaro::gui
