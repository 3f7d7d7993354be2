#include "aggregate/rank_histogram.h"

namespace qeltaro {

RankHistogram rankHistogram(const RankingList& list)
{
    RankHistogram histogram;
    long long rankSum = 0;
    for (const RankingListRow& row : list.rows()) {
        // The count column marked blue is the rank of the digit drawn at the position itself.
        for (size_t j = 0; j < 10; ++j) {
            if (row.countMarked[j]) {
                ++histogram.counts[j];
                ++histogram.rows;
                rankSum += static_cast<long long>(j + 1);
                break;
            }
        }
    }
    if (histogram.rows > 0)
        histogram.meanRank = double(rankSum) / histogram.rows;
    histogram.test = rankHistogramTest(histogram.counts);
    return histogram;
}

QString rankHistogramSummary(const RankHistogram& histogram)
{
    if (histogram.rows == 0)
        return QStringLiteral("没有可对照的期数：历史号码至少需要两期");
    QString text = QStringLiteral("共%1期，开奖号码平均排位%2（随机为5.50），卡方检验p=%3：")
                       .arg(histogram.rows)
                       .arg(histogram.meanRank, 0, 'f', 2)
                       .arg(histogram.test.pValue, 0, 'g', 3);
    if (histogram.test.pValue >= kBeatsChanceLevel)
        return text + QStringLiteral("排位与随机无显著差别");
    if (histogram.meanRank < 5.45)
        return text + QStringLiteral("排位明显偏前，排序优于随机");
    if (histogram.meanRank > 5.55)
        return text + QStringLiteral("排位明显偏后，排序不如随机");
    return text + QStringLiteral("排位分布不均，但不偏前也不偏后");
}

}  // namespace qeltaro
