#include "session/analysis_session.h"

#include "history/draw_history.h"
#include "store/history_table.h"

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

Status AnalysisSession::reloadFormulas()
{
    auto list = formulaTable().list(killMode_);
    if (!list)
        return list.error();
    formulas_ = std::move(*list);
    selection_.clear();
    selection_.selectAll(listedIdx());
    return success();
}

std::vector<int> AnalysisSession::listedIdx() const
{
    std::vector<int> idxs;
    idxs.reserve(formulas_.size());
    for (const StoredFormula& f : formulas_)
        idxs.push_back(f.idx);
    return idxs;
}

Status AnalysisSession::reloadHistory()
{
    auto rows = HistoryTable(*store_).all();
    if (!rows)
        return rows.error();
    history_ = HistoryColumns(*rows);
    latest_ = rows->empty() ? std::nullopt : std::optional<DrawRecord>(rows->back());
    auto next = DrawHistory(*store_).nextPeriod(today());
    if (!next)
        return next.error();
    proposedPeriod_ = *next;
    return success();
}

Result<DrawRecord> AnalysisSession::addDraw(const QString& period, const QString& digits)
{
    return DrawHistory(*store_).add(period, digits);
}

}  // namespace qeltaro
