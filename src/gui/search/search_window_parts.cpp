#include "gui/search/search_window_parts.h"

#include "gui/common/widgets.h"
#include "gui/search/found_formula_panel.h"
#include "gui/search/best_rates_panel.h"
#include "gui/search/search_checks_panel.h"
#include "gui/search/search_progress_chart.h"
#include "gui/search/search_run_support.h"
#include "gui/search/threshold_editor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qeltaro::gui {

QPushButton* searchButton(const char* name, const QString& caption)
{
    QPushButton* button = namedButton(QLatin1String(name), caption);
    button->setAutoDefault(false);
    return button;
}

SearchCounters::SearchCounters()
    : verified_(namedBox(QStringLiteral("Text3"), 110, true)), found_(namedBox(QStringLiteral("Text4"), 80, true)),
      candidate_(new QLineEdit)
{
    candidate_->setObjectName(QStringLiteral("Text11"));
    candidate_->setReadOnly(true);
}

void SearchCounters::placeIn(QGridLayout* grid, int firstRow) const
{
    grid->addWidget(new QLabel(QStringLiteral("当前验证公式数")), firstRow, 0);
    grid->addWidget(verified_, firstRow, 1);
    grid->addWidget(new QLabel(QStringLiteral("搜索到公式数")), firstRow, 2, Qt::AlignRight);
    grid->addWidget(found_, firstRow, 3, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("当前公式")), firstRow + 1, 0);
    grid->addWidget(candidate_, firstRow + 1, 1, 1, 3);
}

void SearchCounters::showVerified(std::uint64_t count)
{
    verified_->setText(QString::number(count));
}

void SearchCounters::showFound(long long count)
{
    found_->setText(QString::number(count));
}

QString SearchCounters::candidate() const
{
    return candidate_->text();
}

void SearchCounters::showCandidate(const QString& text)
{
    candidate_->setText(text);
    candidate_->setCursorPosition(0);
}

void SearchWindowParts::beginRun() const
{
    counters.showVerified(0);
    chart.restart();
    checks.clear();
    bestRates.clear();
}

void SearchWindowParts::showCandidate(const QString& text, const CandidateStatistics& stats) const
{
    if (text.isEmpty() && stats.scoredRows == 0)
        return;
    counters.showCandidate(text);
    thresholds.showStatistics(stats);
}

void SearchWindowParts::showPasses(const RunClock& clock, std::uint64_t verified, long long found,
                                   std::uint64_t shuffledPasses, const BestRates& best) const
{
    if (!clock.paused()) {
        chart.add(clock.seconds(), double(verified), double(found), double(shuffledPasses));
        chart.addBest(clock.seconds(), best.real, best.shuffled);
    }
    checks.showRates(verified, std::uint64_t(found), shuffledPasses);
    bestRates.showRates(best);
}

void SearchWindowParts::showChecks(const std::optional<ShuffledControl>& control, int holdoutPeriods,
                                   const std::vector<FoundFormula>& found) const
{
    checks.showOutcome(control, holdoutPeriods, found);
    this->found.showHoldout(holdoutPeriods, found);
}

}  // namespace qeltaro::gui
