#include "gui/aggregate/err_counts_panel.h"

#include "gui/common/chart_image.h"
#include "gui/common/grid_view.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {
namespace {

QColor colourOf(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QTableWidget* makeTable(const char* name, int columns)
{
    auto* grid = new QTableWidget(0, columns);
    setUpReadOnlyGrid(grid, name);
    grid->horizontalHeader()->setHighlightSections(false);
    return grid;
}

QTableWidgetItem* cell(const QString& text, const QColor& foreground, Qt::Alignment alignment)
{
    auto* item = new QTableWidgetItem(text);
    item->setForeground(foreground);
    item->setTextAlignment(alignment);
    return item;
}

}  // namespace

ErrCountsPanel::ErrCountsPanel(QWidget* parent) : QWidget(parent)
{
    digitGrid_ = makeTable("MSFlexGrid1", ErrWindowTable::kColumnCount);
    digitGrid_->setRowCount(10);
    // The three counts share the room left by the narrow columns.
    digitGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int c : {ErrWindowTable::Order, ErrWindowTable::Digit, ErrWindowTable::Verdict})
        digitGrid_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    digitGrid_->horizontalHeader()->setMinimumSectionSize(40);
    // The longer headers after a re-sort wrap onto a second line rather than being cut off.
    digitGrid_->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    digitGrid_->horizontalHeader()->setFixedHeight(2 * digitGrid_->fontMetrics().height() + 8);
    digitGrid_->setFixedHeight(20 * 10 + digitGrid_->horizontalHeader()->height() + 2 * digitGrid_->frameWidth());
    digitGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(digitGrid_, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
        table_.doubleClick(column);
        showDigitRows();
    });

    chart_ = new QChart;
    chart_->setTitle(QStringLiteral("各号码杀留Err值"));
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    keptBars_ = new QBarSet(QStringLiteral("保留"));
    keptBars_->setColor(QColor(64, 64, 64));
    killedBars_ = new QBarSet(QStringLiteral("滤杀"));
    killedBars_->setColor(colourOf(kGreen));
    QStringList digits;
    for (int d = 0; d < 10; ++d) {
        *keptBars_ << 0;
        *killedBars_ << 0;
        digits << QString::number(d);
    }
    auto* series = new QStackedBarSeries;
    series->append(keptBars_);
    series->append(killedBars_);
    chart_->addSeries(series);
    auto* digitAxis = new QBarCategoryAxis;
    digitAxis->append(digits);
    chart_->addAxis(digitAxis, Qt::AlignBottom);
    series->attachAxis(digitAxis);
    countAxis_ = new QValueAxis;
    countAxis_->setTickType(QValueAxis::TicksDynamic);
    countAxis_->setTickAnchor(0);
    countAxis_->setLabelFormat(QStringLiteral("%d"));
    chart_->addAxis(countAxis_, Qt::AlignLeft);
    series->attachAxis(countAxis_);
    chartView_ = new QChartView(chart_);
    chartView_->setObjectName(QStringLiteral("chtErr"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(300, 240);
    addSaveImageAction(chartView_, QStringLiteral("杀留Err值"));

    auto* digitsFrame = new QGroupBox(QString::fromUtf16(kErrDigitFrameCaption));
    auto* digitsLayout = new QHBoxLayout(digitsFrame);
    digitsLayout->addWidget(digitGrid_, 3);
    digitsLayout->addWidget(chartView_, 2);

    statisticsGrid_ = makeTable("MSFlexGrid2", 3);
    statisticsGrid_->setHorizontalHeaderLabels(ErrWindowTable::statisticsHeaders());
    statisticsGrid_->setColumnWidth(0, twipsToPixels(1200));
    statisticsGrid_->setColumnWidth(1, twipsToPixels(1200));
    statisticsGrid_->horizontalHeader()->setStretchLastSection(true);
    auto* statisticsFrame = new QGroupBox(QString::fromUtf16(kErrStatisticsFrameCaption));
    auto* statisticsLayout = new QVBoxLayout(statisticsFrame);
    statisticsLayout->addWidget(statisticsGrid_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(digitsFrame);
    layout->addWidget(statisticsFrame, 1);
}

void ErrCountsPanel::showCounts(const ErrCounts& counts, Kind kind)
{
    counts_ = counts;
    table_.fill(counts, kind);
    showDigitRows();
    showStatistics();
    showChart(counts, kind);
}

void ErrCountsPanel::showDigitRows()
{
    digitGrid_->setUpdatesEnabled(false);
    digitGrid_->setHorizontalHeaderLabels(table_.headers());
    const auto& rows = table_.rows();
    digitGrid_->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const QColor colour = colourOf(rows[size_t(r)].textColour);
        for (int c = 0; c < ErrWindowTable::kColumnCount; ++c)
            digitGrid_->setItem(r, c, cell(ErrWindowTable::cellText(rows[size_t(r)], c), colour, Qt::AlignCenter));
    }
    digitGrid_->setUpdatesEnabled(true);
}

void ErrCountsPanel::showStatistics()
{
    const auto& rows = table_.statistics();
    statisticsGrid_->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const ErrStatisticsRow& s = rows[size_t(r)];
        const QColor black(Qt::black);
        statisticsGrid_->setItem(r, 0, cell(QString::number(s.count), black, Qt::AlignCenter));
        statisticsGrid_->setItem(r, 1, cell(QString::number(s.digitCount), black, Qt::AlignCenter));
        statisticsGrid_->setItem(r, 2, cell(s.digits, black, Qt::AlignLeft | Qt::AlignVCenter));
    }
}

void ErrCountsPanel::showChart(const ErrCounts& counts, Kind kind)
{
    // Each digit's count stands in the set of its verdict, zero in the other.
    int largest = 0;
    for (int d = 0; d < 10; ++d) {
        const int total = counts[size_t(d)].total;
        const bool isKilled = isKilledVerdict(total, kind);
        keptBars_->replace(d, isKilled ? 0 : total);
        killedBars_->replace(d, isKilled ? total : 0);
        largest = std::max(largest, total);
    }
    // Whole-number ticks, at most about five of them.
    const int step = std::max(1, (largest + 4) / 5);
    countAxis_->setRange(0, std::max(1, (largest + step - 1) / step) * step);
    countAxis_->setTickInterval(step);
}

}  // namespace qeltaro::gui
