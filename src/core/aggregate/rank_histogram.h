#pragma once
// How often the digit drawn at the chosen position stood at each rank of the ranking the
// formulas had produced the period before, over a whole ranking list, and whether that differs
// from what a ranking that knows nothing would give (each rank equally often).

#include "aggregate/ranking_list_rows.h"
#include "domain/chance_statistics.h"

#include <QString>

#include <array>

namespace qeltaro {

struct RankHistogram {
    std::array<int, 10> counts{};  // rank 1..10 at index 0..9
    int rows = 0;
    double meanRank = 0;           // 5.5 for a ranking that knows nothing
    RankHistogramTest test;
};

RankHistogram rankHistogram(const RankingList& list);

// One line for the ranking list window, e.g. "开奖号码平均排位4.87（随机为5.50），卡方检验
// p=0.0031：排位明显偏前，排序优于随机".
QString rankHistogramSummary(const RankHistogram& histogram);

}  // namespace qeltaro
