#pragma once
// The search as the command line and the window both run it: a request completed from the scheme
// settings and the store and checked before any candidate is tried (the run itself is a
// search_job.h). A refusal says which check failed, in the one text it is told in; a refusal of
// the stored thresholds is followed by each front end's hint where to mend them.

#include "common/result.h"
#include "domain/history_columns.h"
#include "search/scheme_run.h"
#include "search/scheme_settings.h"
#include "search/search_run.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <variant>

namespace qeltaro {

class Store;

enum class SearchRefusalReason {
    StoredThresholds,  // thresholds taken from the settings hold one that is not a number
    TooFewDraws,       // fewer than two draws to score against
    Holdout,           // the held-out periods leave fewer than two before them
    Store,             // the formula tables could not be counted
};

struct SearchRefusal {
    SearchRefusalReason reason;
    Error error;
};

// A checked request, or why it may not run.
template <typename Request>
using PreparedSearch = std::variant<Request, SearchRefusal>;

// A manual search as a front end asks for it; what it leaves open comes from the settings of the
// request's category.
struct ManualSearchOrder {
    SearchRequest request;
    std::optional<int> operandCount;             // none: the category's setting
    std::optional<SearchThresholds> thresholds;  // none: the category's stored ones
};

// A scheme as a front end asks for it. Thresholds, operand counts and the counts the tables hold
// are always read here.
struct SchemeSearchOrder {
    SchemeRequest request;
    std::optional<WantedCounts> wanted;  // none: the stored ones of the request's kind
};

// Refused unless the history holds two draws at least: a search screens every candidate on them.
Status checkSearchHistory(const HistoryColumns& history);

class FormulaSearch {
public:
    FormulaSearch(Store& store, const SchemeSettings& settings) : store_(store), settings_(settings) {}

    // Checks, in this order: stored thresholds, enough draws, the held-out periods.
    PreparedSearch<SearchRequest> prepare(const ManualSearchOrder& order, const HistoryColumns& history) const;
    // Checks enough draws and the held-out periods, counts what the tables hold, then checks the
    // stored thresholds of each category that will be searched (the others never screen).
    PreparedSearch<SchemeRequest> prepare(const SchemeSearchOrder& order, const HistoryColumns& history) const;

private:
    Store& store_;
    const SchemeSettings& settings_;
};

}  // namespace qeltaro
