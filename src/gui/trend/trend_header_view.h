#pragma once
// The trend grid's header: two lines, the chart's name spanning all of its columns above the
// values it has columns for, so a name wider than one narrow column still shows whole.

#include <QHeaderView>

namespace qeltaro::gui {

class TrendHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit TrendHeaderView(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    int lineHeight() const;
};

}  // namespace qeltaro::gui
