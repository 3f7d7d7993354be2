#include "gui/search/search_run_support.h"

#include <QtGlobal>

namespace qeltaro::gui {

std::shared_ptr<const HistoryColumns> copyForRun(const HistoryColumns& history)
{
    return std::make_shared<const HistoryColumns>(history);
}

void keepRecord(const Result<QString>& written)
{
    if (!written)
        qWarning("search run record not written: %s", qPrintable(written.error().message));
}

QString refusalText(const SearchRefusal& refusal)
{
    QString text = refusal.error.message;
    switch (refusal.reason) {
    case SearchRefusalReason::TooFewDraws:
    case SearchRefusalReason::Holdout: text += QStringLiteral("。"); break;
    case SearchRefusalReason::StoredThresholds: text += QStringLiteral("，请先改正并保存该类参数设置。"); break;
    case SearchRefusalReason::Store: break;
    }
    return text;
}

std::vector<FoundFormula> FeedReader::takeNew(const FoundFeed& feed)
{
    std::vector<FoundFormula> fresh = feed.since(taken_);
    taken_ += fresh.size();
    return fresh;
}

void RunClock::start()
{
    clock_.start();
    pausedMs_ = 0;
    paused_ = false;
}

void RunClock::pause()
{
    pauseClock_.start();
    paused_ = true;
}

void RunClock::resume()
{
    pausedMs_ += pauseClock_.elapsed();
    paused_ = false;
}

double RunClock::seconds() const
{
    const qint64 pausedNow = paused_ ? pauseClock_.elapsed() : 0;
    return double(clock_.elapsed() - pausedMs_ - pausedNow) / 1000.0;
}

}  // namespace qeltaro::gui
