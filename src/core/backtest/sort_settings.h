#pragma once
// The sort settings of the best-formula method: three keys over the statistics stored by the
// last full back-test, each with its own direction, and the number of digits to keep.

#include "common/result.h"
#include "store/formula_table.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace qeltaro {

// The five stored statistics a formula list can be ordered by. Only these can be named, so no
// user text ever reaches an ORDER BY.
enum class SortKey { Rate, MaxMissRun, MaxHitRun, LastMissRun, LastHitRun };

inline constexpr std::array<SortKey, 5> kSortKeys = {SortKey::Rate, SortKey::MaxMissRun, SortKey::MaxHitRun,
                                                     SortKey::LastMissRun, SortKey::LastHitRun};

QString sortKeyColumn(SortKey key);   // "sglGsRate", "intGsErrCon", ...
QString sortKeyCaption(SortKey key);  // "正确率", "最大连错", ...
// The column name, compared case-insensitively as column names are.
std::optional<SortKey> sortKeyOfColumn(QStringView column);
// The direction that puts the best formulas first: a higher rate and longer hit runs are better,
// longer miss runs are worse.
bool bestFirstDescending(SortKey key);
// The value a formula's stored statistics give for a key.
double storedValue(const StoredStatistics& statistics, SortKey key);

struct SortKeyChoice {
    SortKey key = SortKey::Rate;
    bool descending = true;

    friend bool operator==(const SortKeyChoice&, const SortKeyChoice&) = default;
};

inline constexpr int kDefaultKeepLimit = 3;

struct SortSettings {
    // SortKeys: the first, second and third key; SortDescending: the direction of each.
    std::array<SortKey, 3> sortKeys = {SortKey::Rate, SortKey::MaxHitRun, SortKey::LastHitRun};
    std::array<bool, 3> sortDescending = {true, true, true};
    int keepLimit = kDefaultKeepLimit;  // KeepLimit: C, the number of digits to keep

    std::array<SortKeyChoice, 3> choices() const
    {
        return {SortKeyChoice{sortKeys[0], sortDescending[0]}, SortKeyChoice{sortKeys[1], sortDescending[1]},
                SortKeyChoice{sortKeys[2], sortDescending[2]}};
    }
    void setChoices(const std::array<SortKeyChoice, 3>& choices)
    {
        for (size_t i = 0; i < 3; ++i) {
            sortKeys[i] = choices[i].key;
            sortDescending[i] = choices[i].descending;
        }
    }
};

// A key chosen in the sort dialog takes its best-first direction.
SortKeyChoice chooseSortKey(SortKey key);

QString sortDirectionCaption(bool descending);  // "从大到小" or "从小到大", as the sort dialog says

// Exactly three keys separated by commas (, ， or 、), each a caption ("正确率") or a column name
// ("sglGsRate"), optionally followed by its direction: "从大到小"/"从小到大" or "desc"/"asc",
// after a space or a colon. A key without a direction sorts best first.
Result<std::array<SortKeyChoice, 3>> parseSortKeys(QStringView text);
// The keys in the sort dialog's words, every direction written out ("正确率 从大到小，最大连对 从大到小，
// 最后连对 从大到小"); parseSortKeys reads it back.
QString sortKeysText(const std::array<SortKeyChoice, 3>& keys);

// The quota C: a whole number 0..10 (a blank box counts as 0). Killing 10 - C digits or keeping
// C digits needs C within the ten digits.
Result<int> parseKeepLimit(QStringView text);
inline constexpr int kMaxKeepLimit = 10;

// Positions into `formulas` in the order of the three keys; equal formulas keep their given
// (idx) order. Formulas never back-tested (no stored statistics) come last, in their given order.
std::vector<size_t> statisticsOrder(const std::vector<StoredFormula>& formulas,
                                    const std::array<SortKeyChoice, 3>& keys);
// The same over the statistics alone (none: never back-tested).
std::vector<size_t> statisticsOrder(const std::vector<std::optional<StoredStatistics>>& statistics,
                                    const std::array<SortKeyChoice, 3>& keys);

}  // namespace qeltaro
