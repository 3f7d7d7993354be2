#pragma once
// Which history rows a back-test scores and how each row weighs. The window counts back from the
// newest row; a row is scored by the digit predicted from the row before it, so the first row
// can never be scored.

namespace qeltaro {

struct BacktestSettings {
    int periodWindow = 0;                // newest rows scored; 0 = every row (JSQS)
    bool windowExcludesCurrent = true;   // SyBq: the window is exactly periodWindow rows
    bool weightedRate = true;            // ZqlJq: the j-th scored row weighs j squared

    // From the settings mirror, or any record with these three fields: the domain knows no settings store.
    template <class Mirror>
    static BacktestSettings fromMirror(const Mirror& mirror)
    {
        return {mirror.periodWindow, mirror.windowExcludesCurrent, mirror.weightedRate};
    }
};

// The first scored row (0-based) of a history of `rowCount` rows; every row from there to the
// last is scored. With the flag on a window of W scores the newest W rows, with it off W + 1.
// Never before the second row. Returns rowCount (nothing scored) for a history of 0 or 1 rows.
inline int firstScoredRow(int rowCount, const BacktestSettings& settings)
{
    if (rowCount < 2)
        return rowCount;
    int first = 1;  // the second row
    if (settings.periodWindow > 0) {
        const int newest = settings.windowExcludesCurrent ? settings.periodWindow : settings.periodWindow + 1;
        if (rowCount - newest > first)
            first = rowCount - newest;
    }
    return first;
}

// Weight of the j-th scored row (j from 1, oldest first): the back-test and the search both
// weigh rows by this, and divide by the total weight below.
constexpr long long rowWeight(long long j, bool weighted)
{
    return weighted ? j * j : 1;
}

// The weight of m scored rows: the sum of 1..m, or of their squares.
constexpr long long totalWeight(long long m, bool weighted)
{
    return weighted ? m * (m + 1) * (2 * m + 1) / 6 : m;
}

}  // namespace qeltaro
