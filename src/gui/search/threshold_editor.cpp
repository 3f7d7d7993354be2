#include "gui/search/threshold_editor.h"

#include "gui/common/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace qeltaro::gui {
namespace {

// Where each bound sits in the core's thresholds.
enum Bound : std::size_t {
    RateLow, RateHigh, MaxMissLow, MaxMissHigh, MaxHitLow, MaxHitHigh, LastMissLow, LastMissHigh, LastHitLow, LastHitHigh,
};

void showValue(QLineEdit* box, double value)
{
    box->setText(thresholdText(value));
}

}  // namespace

ThresholdEditor::ThresholdEditor(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    std::array<QLineEdit*, kThresholdCount> boxes{};
    QGridLayout* limits = statisticBoundsGrid(boxes, 72);
    bounds_ = {boxes[RateLow],     boxes[RateHigh],     boxes[MaxMissLow], boxes[MaxMissHigh],
               boxes[MaxHitLow],   boxes[MaxHitHigh],   boxes[LastMissLow], boxes[LastMissHigh],
               boxes[LastHitLow],  boxes[LastHitHigh]};

    auto* current = new QGridLayout;
    current->addWidget(new QLabel(QStringLiteral("数值")), 0, 0, Qt::AlignCenter);
    QLineEdit** statistics[5] = {&current_.rate, &current_.maxMiss, &current_.maxHit, &current_.lastMiss, &current_.lastHit};
    for (int s = 0; s < 5; ++s) {
        *statistics[s] = namedBox(QStringLiteral("Text1_%1").arg(kThresholdCount + s), 72, true);
        current->addWidget(*statistics[s], s + 1, 0);
    }
    layout->addWidget(titledFrame(QStringLiteral("公式参数设置"), limits));
    layout->addWidget(titledFrame(QStringLiteral("当前公式参数值"), current));
}

std::array<QLineEdit*, kThresholdCount> ThresholdEditor::inThresholdOrder() const
{
    std::array<QLineEdit*, kThresholdCount> boxes{};
    boxes[RateLow] = bounds_.rateLow;
    boxes[RateHigh] = bounds_.rateHigh;
    boxes[MaxMissLow] = bounds_.maxMissLow;
    boxes[MaxMissHigh] = bounds_.maxMissHigh;
    boxes[MaxHitLow] = bounds_.maxHitLow;
    boxes[MaxHitHigh] = bounds_.maxHitHigh;
    boxes[LastMissLow] = bounds_.lastMissLow;
    boxes[LastMissHigh] = bounds_.lastMissHigh;
    boxes[LastHitLow] = bounds_.lastHitLow;
    boxes[LastHitHigh] = bounds_.lastHitHigh;
    return boxes;
}

QStringList ThresholdEditor::texts() const
{
    QStringList texts;
    for (const QLineEdit* box : inThresholdOrder())
        texts << box->text();
    return texts;
}

Result<SearchThresholds> ThresholdEditor::read() const
{
    return parseThresholdTexts(texts());
}

SearchThresholds ThresholdEditor::readLoose() const
{
    return thresholdsFromTexts(texts());
}

void ThresholdEditor::showThresholds(const SearchThresholds& thresholds)
{
    const auto boxes = inThresholdOrder();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        showValue(boxes[i], thresholds[i]);
}

void ThresholdEditor::showProposal(const SearchThresholds& proposed)
{
    showValue(bounds_.rateLow, proposed[RateLow]);
    showValue(bounds_.maxMissHigh, proposed[MaxMissHigh]);
    showValue(bounds_.maxHitLow, proposed[MaxHitLow]);
    showValue(bounds_.lastMissHigh, proposed[LastMissHigh]);
    showValue(bounds_.lastHitLow, proposed[LastHitLow]);
}

void ThresholdEditor::showStatistics(const CandidateStatistics& stats)
{
    showValue(current_.rate, stats.rate);
    current_.maxMiss->setText(QString::number(stats.maxMissRun));
    current_.maxHit->setText(QString::number(stats.maxHitRun));
    current_.lastMiss->setText(QString::number(stats.lastMissRun));
    current_.lastHit->setText(QString::number(stats.lastHitRun));
}

}  // namespace qeltaro::gui
