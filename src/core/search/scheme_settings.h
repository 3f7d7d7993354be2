#pragma once
// The search's own settings in the per-user settings store, beside section IniSetting:
// - thresholds per sense and category: section "c-1" ("0".."4", "6".."9"), key "10k+i"
//   (k = 0 kill, 1 keep; i = 0..9), each the shortest text of a single-precision number;
// - the operand count per category: section "c" ("1".."10"), key "text2", default 8, 2..24;
// - the wanted counts of a scheme: section "SSSZ", key "10k+c", default 60 when read.
// c is the search number of the category (1..10, see search_category.h).

#include "common/result.h"
#include "domain/kind.h"
#include "search/search_thresholds.h"

#include <array>
#include <optional>

namespace qeltaro {

class Settings;

// Per search number 1..10 at index number - 1; index 5 (组选一星) is never used.
using WantedCounts = std::array<std::optional<long long>, 10>;

inline constexpr long long kDefaultWantedCount = 60;

// The built-in thresholds of a category and sense.
SearchThresholds defaultThresholds(Kind kind, int searchNumber);

class SchemeSettings {
public:
    explicit SchemeSettings(Settings& settings) : settings_(settings) {}

    // A stored text that is not a number reads as NaN, which makes its check fail.
    SearchThresholds thresholds(Kind kind, int searchNumber) const;
    // Refused, naming the threshold, when one of them is not a number; nothing is stored then.
    Status setThresholds(Kind kind, int searchNumber, const SearchThresholds& thresholds);

    int operandCount(int searchNumber) const;
    Status setOperandCount(int searchNumber, int count);

    // Missing entries read as 60; a stored text that is not a number reads as no wanted count.
    WantedCounts wantedCounts(Kind kind) const;
    // Stores the given counts; an entry without a count is stored as 0, as an empty box is.
    void setWantedCounts(Kind kind, const WantedCounts& counts);

    // Removes every value above, so all read as their defaults again.
    void reset();

private:
    Settings& settings_;
};

// Refused, naming the category, the sense and the first threshold that is not a number (a value
// edited by hand in the settings file): a search held to it can find nothing and never ends.
Status checkThresholdsAreNumbers(Kind kind, int searchNumber, const SearchThresholds& thresholds);

// A wanted count from a box's text: nullopt when it is not a number; fractions round up, since
// the count is compared with whole numbers of formulas.
std::optional<long long> wantedCountFromText(const QString& text);

}  // namespace qeltaro
