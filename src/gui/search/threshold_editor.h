#pragma once
// The search's thresholds of the chosen category (公式参数设置: the lower and upper bound of
// each statistic, Text1_0 .. Text1_9) and beside them the statistics of the candidate last
// evaluated (当前公式参数值, Text1_10 .. Text1_14). Read and shown as the core's thresholds.

#include "common/result.h"
#include "search/search_thresholds.h"

#include <QStringList>
#include <QWidget>

#include <array>

class QLineEdit;

namespace qeltaro::gui {

class ThresholdEditor : public QWidget {
    Q_OBJECT
public:
    explicit ThresholdEditor(QWidget* parent = nullptr);

    // Refused, naming the first bound that is not a number.
    Result<SearchThresholds> read() const;
    // A bound that is not a number reads as NaN, whose check fails.
    SearchThresholds readLoose() const;
    void showThresholds(const SearchThresholds& thresholds);
    // A proposal moves only the bound of each statistic that makes a formula better; the other
    // five stay as the user left them.
    void showProposal(const SearchThresholds& proposed);
    void showStatistics(const CandidateStatistics& stats);

private:
    struct Bounds {
        QLineEdit* rateLow = nullptr;       // Text1_0
        QLineEdit* rateHigh = nullptr;      // Text1_1
        QLineEdit* maxMissLow = nullptr;    // Text1_2
        QLineEdit* maxMissHigh = nullptr;   // Text1_3
        QLineEdit* maxHitLow = nullptr;     // Text1_4
        QLineEdit* maxHitHigh = nullptr;    // Text1_5
        QLineEdit* lastMissLow = nullptr;   // Text1_6
        QLineEdit* lastMissHigh = nullptr;  // Text1_7
        QLineEdit* lastHitLow = nullptr;    // Text1_8
        QLineEdit* lastHitHigh = nullptr;   // Text1_9
    };
    struct Statistics {
        QLineEdit* rate = nullptr;      // Text1_10
        QLineEdit* maxMiss = nullptr;   // Text1_11
        QLineEdit* maxHit = nullptr;    // Text1_12
        QLineEdit* lastMiss = nullptr;  // Text1_13
        QLineEdit* lastHit = nullptr;   // Text1_14
    };

    // The bounds in the order of the core's thresholds.
    std::array<QLineEdit*, kThresholdCount> inThresholdOrder() const;
    QStringList texts() const;

    Bounds bounds_;
    Statistics current_;
};

}  // namespace qeltaro::gui
