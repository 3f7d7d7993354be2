#pragma once
// A small live plot of a run: candidates verified and formulas found against the running time,
// each on its own axis since the first grows by millions and the second by a few, and beside the
// formulas found, the candidates that passed on the shuffled history: two lines that climb alike
// say the passes are luck.

#include <QChartView>

class QLineSeries;
class QValueAxis;

namespace qeltaro::gui {

class SearchProgressChart : public QChartView {
    Q_OBJECT
public:
    explicit SearchProgressChart(QWidget* parent = nullptr);

    // Starts a new plot for a run.
    void restart();
    void add(double seconds, double verified, double found, double shuffledPasses);

    int pointCount() const;

private:
    QLineSeries* verified_ = nullptr;
    QLineSeries* found_ = nullptr;
    QLineSeries* shuffled_ = nullptr;
    QValueAxis* time_ = nullptr;
    QValueAxis* verifiedAxis_ = nullptr;
    QValueAxis* foundAxis_ = nullptr;
};

}  // namespace qeltaro::gui
