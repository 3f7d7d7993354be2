#include "history/history_maintenance.h"

#include "common/message_text.h"
#include "domain/period_number.h"
#include "store/history_table.h"
#include "store/in_transaction.h"
#include "store/store.h"

namespace qeltaro {
namespace {

// Removes `firstRemoved` and every later draw (all draws when it is empty) in one transaction.
Result<DeleteReport> removeFrom(Store& store, const QString& firstRemoved, bool compact)
{
    HistoryTable history(store);
    auto before = history.count();
    if (!before)
        return before.error();
    Status removed = inTransaction(store.database(), [&] {
        return firstRemoved.isEmpty() ? history.removeAll() : history.removeFrom(firstRemoved);
    });
    if (!removed)
        return removed.error();
    auto after = history.count();
    if (!after)
        return after.error();
    DeleteReport report;
    report.removed = *before - *after;
    report.remaining = *after;
    if (compact) {
        if (Status s = store.compact(); !s)
            report.compactionProblem = QStringLiteral("数据库压缩失败：%1").arg(s.error().message);
    }
    return report;
}

}  // namespace

Result<DeleteReport> deleteAllDraws(Store& store)
{
    auto count = HistoryTable(store).count();
    if (!count)
        return count.error();
    if (*count == 0)
        return DeleteReport{};
    auto backup = store.backup(QStringLiteral("delete-all-history"));
    if (!backup)
        return backup.error();
    auto report = removeFrom(store, QString(), false);
    if (report)
        report->backupPath = *backup;
    return report;
}

Result<QString> proposeDeleteAfter(Store& store, const QString& selectedPeriod)
{
    auto before = HistoryTable(store).before(selectedPeriod.trimmed());
    if (!before)
        return before.error();
    return *before ? (*before)->period : QString();
}

Result<DeleteReport> deleteDrawsAfter(Store& store, const QString& answer)
{
    const QString trimmed = answer.trimmed();
    const Game& game = store.game();
    if (trimmed.isEmpty())
        return badInput(QStringLiteral("请输入需要保留到的期号，例如%1；没有删除任何号码").arg(game.examplePeriod()));
    const QString zeroIssue(game.issueDigits, u'0');
    if (trimmed.size() == game.periodLength() && trimmed.endsWith(zeroIssue))
        return badInput(QStringLiteral("期号“%1”的期数为%2，不是有效的期号；没有删除任何号码").arg(excerpt(trimmed), zeroIssue));
    QString error;
    if (!PeriodNumber::parse(trimmed, game, &error))
        return badInput(error + QStringLiteral("；没有删除任何号码"));
    auto next = HistoryTable(store).after(trimmed);
    if (!next)
        return next.error();
    if (!*next) {
        auto count = HistoryTable(store).count();
        if (!count)
            return count.error();
        DeleteReport report;
        report.remaining = *count;
        return report;
    }
    return removeFrom(store, (*next)->period, true);
}

Result<DeleteReport> deleteLastDraws(Store& store, const QString& answer)
{
    const QString trimmed = answer.trimmed();
    bool ok = false;
    const qlonglong n = trimmed.toLongLong(&ok);
    if (!ok || n < 1)
        return badInput(QStringLiteral("“%1”不是大于0的整数：请输入需要删除的最后期数；没有删除任何号码").arg(excerpt(trimmed)));
    QString firstRemoved;
    {
        auto period = HistoryTable(store).periodBeforeNewest(n - 1);
        if (!period)
            return period.error();
        firstRemoved = *period;
    }  // the read ends before the deletion and the compaction
    // Fewer than N draws: all of them go.
    return removeFrom(store, firstRemoved, true);
}

Result<DeleteReport> deleteLastDraw(Store& store)
{
    auto last = HistoryTable(store).last();
    if (!last)
        return last.error();
    if (!*last)
        return DeleteReport{};
    return removeFrom(store, (*last)->period, false);
}

}  // namespace qeltaro
