#pragma once
// One page of the trend window and of its workbook: the charts of a position (号码, 大小, 单双,
// 质合, 012路) or of the last three positions (和值, 跨度, 形态) side by side over the same rows,
// laid out as one grid. Columns: 期号, 开奖号, then one per value of each chart. Rows: one per
// draw of the window, oldest first, then one per statistic. A drawn value's cell shows the value;
// every other value cell shows its omission.

#include "common/display_colour.h"
#include "domain/history_columns.h"
#include "trend/trend_chart.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qeltaro {

class TrendPage {
public:
    static constexpr int kLeadingColumns = 2;  // 期号, 开奖号
    static constexpr int kStatisticRows = 6;

    // position 1..5, or 0 for the last three.
    TrendPage(const HistoryColumns& history, int position, std::optional<int> periods);

    QString title() const;  // 万位..个位, or 后三
    int position() const { return position_; }
    const std::vector<TrendChart>& charts() const { return charts_; }

    int drawRowCount() const { return int(periods_.size()); }
    int rowCount() const { return drawRowCount() + kStatisticRows; }
    int columnCount() const { return int(columnChart_.size()); }
    bool isStatisticRow(int row) const { return row >= drawRowCount(); }

    // The chart a value column belongs to (-1 for 期号 and 开奖号), and its value there.
    int chartOfColumn(int column) const { return columnChart_[size_t(column)]; }
    int valueOfColumn(int column) const { return columnValue_[size_t(column)]; }
    // The chart's name over its first column, empty over the others.
    QString groupTitle(int column) const;
    QString header(int column) const;

    QString text(int row, int column) const;
    // A draw row's cell of the value drawn, filled with its chart's colour (white text on it).
    bool isDrawn(int row, int column) const;
    Rgb drawnFill(int column) const;

private:
    QString statisticText(int statistic, int chart, int value) const;

    int position_ = 0;
    std::vector<TrendChart> charts_;
    QStringList periods_;
    QStringList draws_;
    std::vector<int> columnChart_;
    std::vector<int> columnValue_;
};

// 出现次数, 平均遗漏, 最大遗漏, 当前遗漏, 最大连出, 当前遗漏的随机概率% (in percent).
const QStringList& trendStatisticLabels();

}  // namespace qeltaro
