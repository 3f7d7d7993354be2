#include "session/analysis_session.h"

#include "backtest/full_backtest.h"
#include "history/draw_history.h"
#include "store/history_table.h"

#include <utility>

namespace qeltaro {

Result<std::unique_ptr<AnalysisSession>> AnalysisSession::open(const QString& dataDir, std::unique_ptr<Settings> settings)
{
    auto store = Store::open(dataDir);
    if (!store)
        return store.error();
    auto session = std::make_unique<AnalysisSession>();
    session->store_ = std::move(*store);
    session->settings_ = std::move(settings);
    session->mirror_ = session->settings_->read();
    session->formulaList_ = FormulaList(session->category_, session->kind_);
    return session;
}

void AnalysisSession::setPositions(int positions)
{
    category_.positions = std::clamp(positions, 1, 5);
    if (category_.positions == 1)
        category_.group = false;
}

void AnalysisSession::setGroup(bool group)
{
    category_.group = group && category_.positions > 1;
}

void AnalysisSession::showList(const FormulaListKey& key)
{
    category_ = key.category;
    kind_ = key.kind;
}

Status AnalysisSession::reloadFormulas(const FormulaSelection* keep)
{
    auto list = FormulaList::load(*store_, category_, kind_);
    if (!list) {
        formulaList_ = FormulaList(category_, kind_);
        statistics_ = FormulaStatsTable();
        return list.error();
    }
    formulaList_ = std::move(*list);
    if (keep) {
        for (int idx : formulaList_.idxs())
            formulaList_.selection().set(idx, keep->isSelected(idx));
    }
    statistics_ = FormulaStatsTable(formulaList_.idxs());
    return success();
}

Status AnalysisSession::reloadHistory()
{
    const bool current = std::exchange(appendedAtRevision_, std::nullopt) == store_->historyRevision();
    if (!current) {
        auto rows = HistoryTable(*store_).all();
        if (!rows)
            return rows.error();
        // Another program may have changed the file: the rows tell, not only this store's counter.
        const bool same = rows->size() == size_t(history_.rowCount()) &&
                          (rows->empty() || (latest_ && latest_->period == rows->back().period &&
                                             latest_->digits() == rows->back().digits())) &&
                          heldRevision_ == store_->historyRevision();
        history_ = HistoryColumns(*rows);
        latest_ = rows->empty() ? std::nullopt : std::optional<DrawRecord>(rows->back());
        heldRevision_ = store_->historyRevision();
        if (!same)
            emit historyChanged();
    }
    auto next = DrawHistory(*store_).proposeNext(today());
    if (!next)
        return next.error();
    proposedPeriod_ = next->period;
    proposedDate_ = next->date;
    return success();
}

Result<QString> AnalysisSession::periodOn(const QDate& date) const
{
    return DrawHistory(*store_).nextPeriodOn(date);
}

Status AnalysisSession::backtest()
{
    auto table = runFullBacktest(*store_, formulaList_, history_, BacktestSettings::fromMirror(mirror_), engine_, &statistics_);
    if (!table) {
        // The statistics were not stored; the list still shows this run's figures.
        statistics_ = engine_.backtest(formulaList_, history_, BacktestSettings::fromMirror(mirror_), &statistics_);
        return table.error();
    }
    statistics_ = std::move(*table);
    return success();
}

Status AnalysisSession::refresh()
{
    Status formulas = reloadFormulas();
    Status history = reloadHistory();
    Status tested = backtest();
    return !formulas ? formulas : !history ? history : tested;
}

std::vector<FormulaVerification> AnalysisSession::verification(int first, int count) const
{
    return engine_.verify(formulaList_, first, count, history_);
}

Result<DrawRecord> AnalysisSession::addDraw(const QString& period, const QString& digits,
                                            const std::optional<QDate>& drawDate)
{
    const int held = history_.rowCount();
    auto stored = DrawHistory(*store_).add(period, digits, drawDate);
    if (!stored)
        return stored;
    // A draw after the newest held changes no other row; when the held rows were the whole
    // history (no other program added any), its row is appended instead of a reload.
    appendedAtRevision_.reset();
    if (held > 0 && stored->period > history_.period(held - 1)) {
        auto count = HistoryTable(*store_).count();
        if (count && *count == held + 1) {
            history_.append(*stored);
            latest_ = *stored;
            appendedAtRevision_ = store_->historyRevision();
            heldRevision_ = store_->historyRevision();
            emit historyChanged();
        }
    }
    return stored;
}

}  // namespace qeltaro
