#include "search/formula_search.h"

#include "backtest/holdout.h"
#include "search/search_job.h"
#include "search/scheme_counts.h"
#include "search/search_category.h"
#include "store/store.h"

#include <random>

namespace qeltaro {
namespace {

std::optional<SearchRefusal> historyRefusal(const HistoryColumns& history, int holdoutPeriods)
{
    if (Status s = checkSearchHistory(history); !s)
        return SearchRefusal{SearchRefusalReason::TooFewDraws, s.error()};
    if (Status s = checkHoldoutPeriods(holdoutPeriods, history.rowCount()); !s)
        return SearchRefusal{SearchRefusalReason::Holdout, s.error()};
    return std::nullopt;
}

SearchRefusal thresholdRefusal(const Error& error)
{
    return {SearchRefusalReason::StoredThresholds, error};
}

}  // namespace

Status checkSearchHistory(const HistoryColumns& history)
{
    if (history.rowCount() < 2)
        return badInput(QStringLiteral("历史号码不足两期，无法验证公式；请先输入或导入历史号码"));
    return success();
}

std::uint64_t freshSearchSeed()
{
    std::random_device entropy;
    return (std::uint64_t(entropy()) << 32) ^ std::uint64_t(entropy());
}

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

}  // namespace qeltaro
