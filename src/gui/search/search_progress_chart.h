#pragma once
// A small live plot of a run: candidates verified and formulas found against the running time,
// each on its own axis since the first grows by millions and the second by a few, and beside the
// formulas found, the candidates that passed on the shuffled history: two lines that climb alike
// say the passes are luck. On an axis of their own, the best rate so far on the real history and
// the luck line, the best on the shuffled one: the best formula is worth a look only while it
// stays clearly above the luck line.

#include <QChartView>

#include <optional>

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
    // The best rates at `seconds`, in percent; a rate not known yet is left out.
    void addBest(double seconds, std::optional<double> real, std::optional<double> shuffled);

    int pointCount() const;

private:
    QLineSeries* verified_ = nullptr;
    QLineSeries* found_ = nullptr;
    QLineSeries* shuffled_ = nullptr;
    QLineSeries* bestReal_ = nullptr;
    QLineSeries* luck_ = nullptr;
    QValueAxis* time_ = nullptr;
    QValueAxis* rateAxis_ = nullptr;
    QValueAxis* verifiedAxis_ = nullptr;
    QValueAxis* foundAxis_ = nullptr;
};

}  // namespace qeltaro::gui
