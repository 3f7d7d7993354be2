#include "gui/trend/trend_header_view.h"

#include "gui/trend/trend_grid_model.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace qeltaro::gui {

TrendHeaderView::TrendHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
}

int TrendHeaderView::lineHeight() const
{
    return fontMetrics().height() + 4;
}

QSize TrendHeaderView::sizeHint() const
{
    QSize hint = QHeaderView::sizeHint();
    hint.setHeight(2 * lineHeight() + 2);
    return hint;
}

void TrendHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // The value on the lower line; 期号 and 开奖号, which belong to no chart, across both.
    const bool inChart = model()->headerData(logicalIndex, Qt::Horizontal, TrendGridModel::kChartRole).toInt() >= 0;
    QHeaderView::paintSection(painter, inChart ? rect.adjusted(0, lineHeight(), 0, 0) : rect, logicalIndex);
}

void TrendHeaderView::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    if (!model())
        return;
    // The upper line: one box per chart over all of its columns.
    QPainter painter(viewport());
    for (int first = 0; first < count();) {
        const int chart = model()->headerData(first, Qt::Horizontal, TrendGridModel::kChartRole).toInt();
        int last = first;
        while (last + 1 < count() && model()->headerData(last + 1, Qt::Horizontal, TrendGridModel::kChartRole).toInt() == chart)
            ++last;
        if (chart >= 0) {
            const int left = sectionViewportPosition(first);
            const int right = sectionViewportPosition(last) + sectionSize(last);
            QStyleOptionHeader option;
            initStyleOption(&option);
            option.rect = QRect(left, 0, right - left, lineHeight());
            option.textAlignment = Qt::AlignCenter;
            option.text = model()->headerData(first, Qt::Horizontal, TrendGridModel::kChartTitleRole).toString();
            style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        }
        first = last + 1;
    }
}

}  // namespace qeltaro::gui
