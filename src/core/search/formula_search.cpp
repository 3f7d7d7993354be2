#include "search/formula_search.h"

#include "backtest/holdout.h"
#include "search/run_record.h"
#include "search/scheme_counts.h"
#include "search/search_category.h"
#include "store/store.h"

namespace qeltaro {
namespace {

std::optional<SearchRefusal> historyRefusal(const HistoryColumns& history, int holdoutPeriods)
{
    if (history.rowCount() < 2)
        return SearchRefusal{SearchRefusalReason::TooFewDraws,
                             badInput(QStringLiteral("历史号码不足两期，无法验证公式"))};
    if (Status s = checkHoldoutPeriods(holdoutPeriods, history.rowCount()); !s)
        return SearchRefusal{SearchRefusalReason::Holdout, s.error()};
    return std::nullopt;
}

SearchRefusal thresholdRefusal(const Error& error)
{
    return {SearchRefusalReason::StoredThresholds, error};
}

}  // namespace

PreparedSearch<SearchRequest> FormulaSearch::prepare(const ManualSearchOrder& order, const HistoryColumns& history) const
{
    SearchRequest request = order.request;
    const int number = searchNumberOf(request.shape.category);
    request.shape.operandCount = order.operandCount.value_or(settings_.operandCount(number));
    if (order.thresholds) {
        request.thresholds = *order.thresholds;
    } else {
        request.thresholds = settings_.thresholds(request.shape.kind, number);
        if (Status s = checkThresholdsAreNumbers(request.shape.kind, number, request.thresholds); !s)
            return thresholdRefusal(s.error());
    }
    if (auto refusal = historyRefusal(history, request.holdoutPeriods))
        return *refusal;
    return request;
}

PreparedSearch<SchemeRequest> FormulaSearch::prepare(const SchemeSearchOrder& order, const HistoryColumns& history) const
{
    SchemeRequest request = order.request;
    if (auto refusal = historyRefusal(history, request.holdoutPeriods))
        return *refusal;
    request.wanted = order.wanted.value_or(settings_.wantedCounts(request.kind));
    auto held = heldFormulaCounts(store_, request.wanted);
    if (!held)
        return SearchRefusal{SearchRefusalReason::Store, held.error()};
    request.held = *held;
    for (int number : schemeOrder()) {
        const SearchThresholds thresholds = settings_.thresholds(request.kind, number);
        // A category held to a threshold that is not a number would search for ever.
        if (schemeTarget(request.wanted, request.held, request.mode, number)) {
            if (Status s = checkThresholdsAreNumbers(request.kind, number, thresholds); !s)
                return thresholdRefusal(s.error());
        }
        request.thresholds[size_t(number - 1)] = thresholds;
        request.operandCounts[size_t(number - 1)] = settings_.operandCount(number);
    }
    return request;
}

Result<QString> FormulaSearch::record(const SearchRun& run, const HistoryColumns& history, const QDateTime& started) const
{
    return writeRunRecord(store_.dataDir(), searchRunRecord(run.request(), run.outcome(), fingerprintOf(history), started));
}

Result<QString> FormulaSearch::record(const SchemeRun& run, const HistoryColumns& history, const QDateTime& started) const
{
    return writeRunRecord(store_.dataDir(), schemeRunRecord(run.request(), run.outcome(), fingerprintOf(history), started));
}

}  // namespace qeltaro
