#pragma once
// What the search window's panels do alike around a run: the copy of the history it works on,
// its request checked with the refusal shown, its record kept, and its running time.

#include "common/result.h"
#include "domain/history_columns.h"
#include "gui/common/dialogs.h"
#include "search/formula_search.h"
#include "search/found_feed.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <variant>

namespace qeltaro::gui {

// How often a run reports its progress; the panels poll at the same pace.
inline constexpr std::chrono::milliseconds kReportInterval(100);

// A copy for the run: the main window may reload its history while the run goes on.
std::shared_ptr<const HistoryColumns> copyForRun(const HistoryColumns& history);

// The record is for repeating a run later; a run is not spoiled when it cannot be written.
void keepRecord(const Result<QString>& written);

// The text a refusal is shown in, with this window's hint where the refusal needs one.
QString refusalText(const SearchRefusal& refusal);

// The checked request, or nothing once the refusal is shown.
template <typename Request, typename Order>
std::optional<Request> checkedRequest(QWidget* window, const QString& title, const FormulaSearch& search,
                                      const Order& order, const HistoryColumns& history)
{
    auto checked = search.prepare(order, history);
    if (const auto* refusal = std::get_if<SearchRefusal>(&checked)) {
        Dialogs::warn(window, title, refusalText(*refusal));
        return std::nullopt;
    }
    return std::move(std::get<0>(checked));
}

// The formulas a run found, each taken from its feed once.
class FeedReader {
public:
    void restart() { taken_ = 0; }
    std::vector<FoundFormula> takeNew(const FoundFeed& feed);

private:
    std::size_t taken_ = 0;
};

// The running time of a run, without its pauses.
class RunClock {
public:
    void start();
    void pause();
    void resume();
    bool paused() const { return paused_; }
    double seconds() const;

private:
    QElapsedTimer clock_;
    QElapsedTimer pauseClock_;
    qint64 pausedMs_ = 0;
    bool paused_ = false;
};

}  // namespace qeltaro::gui
