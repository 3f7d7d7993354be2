#include "history/online_update.h"

#include "common/progress.h"
#include "io/html_text.h"
#include "io/http_get.h"
#include "io/web_address.h"
#include "io/text_codec.h"
#include "settings/settings.h"
#include "store/history_table.h"
#include "store/store.h"

#include <algorithm>

namespace qeltaro {
namespace {

Result<PeriodNumber> storedPeriod(const QString& text, const Game& game)
{
    QString error;
    if (auto period = PeriodNumber::parse(text, game, &error))
        return *period;
    return storageError(QStringLiteral("历史号码中的期号无法识别：%1").arg(error));
}

// Date numbering only: year-numbered games are not updated online.
PeriodNumber previousOf(const PeriodNumber& period, const Game& game)
{
    if (period.issue > 1)
        return {period.date, period.issue - 1};
    return {period.date.addDays(-1), game.drawsPerDay};
}

// Periods strictly between two draws.
int periodsBetween(const PeriodNumber& earlier, const PeriodNumber& later, const Game& game)
{
    return int(earlier.date.daysTo(later.date)) * game.drawsPerDay + later.issue - earlier.issue - 1;
}

QString dayText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

}  // namespace

Status onlineUpdateServes(const Game& game)
{
    if (game.numbering == Numbering::Year)
        return badInput(QStringLiteral("在线更新不适用于彩种“%1”：按年编号的彩种请导入历史号码文件；历史号码没有改变")
                            .arg(game.name));
    return success();
}

Result<UpdatePlan> planUpdate(Store& store, int searchDays, const QDate& today)
{
    if (!parseSearchDays(QString::number(searchDays)))
        return badInput(searchDaysRefusal());
    if (!today.isValid())
        return badInput(QStringLiteral("今天的日期无效"));
    const Game& game = store.game();
    if (Status s = onlineUpdateServes(game); !s)
        return s.error();

    HistoryTable history(store);
    auto first = history.after(QStringLiteral(""));  // every period sorts after the empty text
    if (!first)
        return first.error();
    auto last = history.last();
    if (!last)
        return last.error();

    UpdatePlan plan;
    plan.game = game;
    int days = searchDays;
    if (*first && *last) {
        auto oldest = storedPeriod((*first)->period, game);
        if (!oldest)
            return oldest.error();
        auto newest = storedPeriod((*last)->period, game);
        if (!newest)
            return newest.error();
        if (oldest->date.daysTo(today) > searchDays) {
            plan.replaceHistory = true;
        } else {
            plan.lastStored = (*last)->period;
            days = int(newest->date.daysTo(today)) + 1;
            if (days < 2) {
                // The newest draw is from today (or later): only today's page, after it.
                if (newest->date == today && newest->issue < game.drawsPerDay)
                    plan.pages.push_back({today, newest->issue + 1});
                return plan;
            }
        }
    }
    for (int k = days - 1; k >= 0; --k)
        plan.pages.push_back({today.addDays(-k), 1});
    return plan;
}

Result<FetchedDraws> fetchUpdate(const UpdatePlan& plan, const ResultsAddress& address, std::chrono::milliseconds pageTimeout,
                                 Progress* progress)
{
    FetchedDraws fetched;
    const int total = int(plan.pages.size());
    HttpGetLimits limits;
    limits.timeout = pageTimeout;
    const Error stopped{ErrorKind::Cancelled, QStringLiteral("在线更新已停止，历史号码没有改变")};
    for (int i = 0; i < total; ++i) {
        const DayPage& page = plan.pages[size_t(i)];
        if (progress) {
            progress->report(i, total, QStringLiteral("正在读取%1的开奖号码").arg(dayText(page.day)));
            if (progress->cancelled())
                return stopped;
        }
        ++fetched.pages;
        auto body = httpGet(resultsPageUrl(address, page.day), limits, progress);
        if (!body) {
            if (body.error().kind == ErrorKind::Cancelled)
                return stopped;
            ++fetched.pagesFailed;
            fetched.failures << QStringLiteral("%1：%2").arg(dayText(page.day), body.error().message);
            continue;
        }
        DayPageDraws found = readDayPage(visibleText(decodeText(*body)), page.day, page.startIssue, plan.lastStored, plan.game);
        if (!found.hasMarkers) {
            ++fetched.pagesFailed;
            fetched.failures << QStringLiteral("%1：网页中没有这一天的开奖号码").arg(dayText(page.day));
            continue;
        }
        fetched.unreadable << found.unreadable;
        for (NewDraw& draw : found.draws)
            fetched.draws.push_back(draw);
    }
    if (progress)
        progress->report(total, total, QStringLiteral("读取完毕"));
    return fetched;
}

Result<UpdateReport> applyUpdate(Store& store, const UpdatePlan& plan, FetchedDraws fetched)
{
    if (fetched.pages > 0 && fetched.pagesFailed == fetched.pages) {
        return storageError(QStringLiteral("在线更新失败：%1个网页都没有读到开奖号码，历史号码没有改变。\n%2")
                                .arg(fetched.pages)
                                .arg(fetched.failures.join(u'\n')));
    }

    UpdateReport report;
    report.pages = fetched.pages;
    report.pagesFailed = fetched.pagesFailed;
    report.failures = fetched.failures;
    report.unreadable = fetched.unreadable;

    HistoryTable history(store);
    const Game& game = plan.game;
    std::vector<NewDraw> draws = std::move(fetched.draws);
    std::sort(draws.begin(), draws.end(),
              [&](const NewDraw& a, const NewDraw& b) { return a.period.text(game) < b.period.text(game); });
    draws.erase(std::unique(draws.begin(), draws.end(),
                            [](const NewDraw& a, const NewDraw& b) { return a.period == b.period; }),
                draws.end());

    std::optional<PeriodNumber> previous;
    if (!plan.replaceHistory) {
        // The history may have grown since the plan was made: keep only what is still newer.
        auto last = history.last();
        if (!last)
            return last.error();
        if (*last) {
            auto period = storedPeriod((*last)->period, game);
            if (!period)
                return period.error();
            previous = *period;
            const QString lastText = (*last)->period;
            std::erase_if(draws, [&](const NewDraw& d) { return d.period.text(game) <= lastText; });
        }
    }

    for (const NewDraw& draw : draws) {
        if (previous && !(previous->next(game) == draw.period)) {
            const QString from = previous->next(game).text(game);
            const QString to = previousOf(draw.period, game).text(game);
            report.gaps << (from == to ? from : from + u'-' + to);
            report.missing += periodsBetween(*previous, draw.period, game);
        }
        previous = draw.period;
    }

    if (!draws.empty()) {
        Result<StoreReport> stored = StoreReport{};
        if (plan.replaceHistory) {
            auto count = history.count();
            if (!count)
                return count.error();
            auto backup = store.backup(QStringLiteral("history-update"));
            if (!backup)
                return backup.error();
            report.backupPath = *backup;
            report.removed = *count;
            report.replaced = true;
            stored = DrawHistory(store).replaceAll(std::move(draws));
        } else {
            stored = DrawHistory(store).store(std::move(draws));
        }
        if (!stored)
            return stored.error();
        report.stored = stored->stored;
    }

    auto last = history.last();
    if (!last)
        return last.error();
    if (*last)
        report.lastStored = (*last)->period;
    return report;
}

QStringList updateSummaryLines(const UpdateReport& report)
{
    if (report.pages == 0)
        return {QStringLiteral("历史号码已更新到第%1期，今天没有更新的期号，没有读取网页").arg(report.lastStored)};
    QStringList lines{QStringLiteral("读取网页%1个，失败%2个，保存开奖号码%3期")
                          .arg(report.pages)
                          .arg(report.pagesFailed)
                          .arg(report.stored)};
    if (report.replaced)
        lines << QStringLiteral("原有历史号码早于检索天数，已删除原有的%1期（备份：%2）").arg(report.removed).arg(report.backupPath);
    if (!report.gaps.isEmpty())
        lines << QStringLiteral("缺少%1期：%2").arg(report.missing).arg(report.gaps.join(QStringLiteral(", ")));
    if (!report.unreadable.isEmpty())
        lines << QStringLiteral("号码无法识别的期号：%1").arg(report.unreadable.join(QStringLiteral(", ")));
    for (const QString& failure : report.failures)
        lines << QStringLiteral("读取失败 %1").arg(failure);
    if (!report.lastStored.isEmpty())
        lines << QStringLiteral("最新一期：%1").arg(report.lastStored);
    return lines;
}

Result<OnlineHistoryUpdate> OnlineHistoryUpdate::plan(Store& store, const OnlineUpdateOptions& options)
{
    if (Status s = onlineUpdateServes(store.game()); !s)
        return s.error();
    // Of several addresses kept a line each, the update reads the first.
    auto address = parseResultsBase(addressLines(options.baseAddress).value(0));
    if (!address)
        return address.error();
    auto plan = planUpdate(store, options.searchDays, options.today);
    if (!plan)
        return plan.error();
    OnlineHistoryUpdate update;
    update.plan_ = std::move(*plan);
    update.address_ = std::move(*address);
    update.pageTimeout_ = options.pageTimeout;
    return update;
}

void OnlineHistoryUpdate::fetch(Progress* progress)
{
    fetched_ = fetchUpdate(plan_, address_, pageTimeout_, progress);
}

Result<UpdateReport> OnlineHistoryUpdate::apply(Store& store)
{
    if (!fetched_)
        return fetched_.error();
    return applyUpdate(store, plan_, std::move(*fetched_));
}

Result<UpdateReport> updateHistoryOnline(Store& store, const OnlineUpdateOptions& options, Progress* progress)
{
    auto update = OnlineHistoryUpdate::plan(store, options);
    if (!update)
        return update.error();
    update->fetch(progress);
    return update->apply(store);
}

}  // namespace qeltaro
