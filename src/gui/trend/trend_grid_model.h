#pragma once
// A page of the trend chart as a grid: the draws with the drawn value's cell filled in its
// chart's colour and the omissions in the other cells (grey, so the drawn cells stand out), the
// statistic rows below on a grey ground. The header gives each column's value and, in roles of
// its own, the chart it belongs to.
// Cells are made when asked for, so a page of every draw opens as fast as a short one.

#include "trend/trend_page.h"

#include <QAbstractTableModel>

#include <optional>

namespace qeltaro::gui {

class TrendGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Header roles: the chart a column belongs to (-1 for 期号 and 开奖号), and its name.
    static constexpr int kChartRole = Qt::UserRole;
    static constexpr int kChartTitleRole = Qt::UserRole + 1;

    void setPage(TrendPage page);
    const std::optional<TrendPage>& page() const { return page_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::optional<TrendPage> page_;
};

}  // namespace qeltaro::gui
