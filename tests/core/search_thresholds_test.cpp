#include "search/search_thresholds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qeltaro;

TEST(SearchThresholds, BoundsAreInclusiveAndOneBeyondFails)
{
    const SearchThresholds t{90, 95, 1, 3, 10, 20, 0, 2, 4, 8};
    const ScreeningBounds bounds(t);
    struct Case {
        CandidateStatistics s;
        bool passes;
    };
    for (const Case& c : {
             Case{CandidateStatistics{92, 2, 15, 1, 5}, true},
             Case{CandidateStatistics{90, 1, 10, 0, 4}, true},    // every lower bound exactly
             Case{CandidateStatistics{95, 3, 20, 2, 8}, true},    // every upper bound exactly
             Case{CandidateStatistics{92, 2, 21, 1, 5}, false},   // longest hit run one over
             Case{CandidateStatistics{92, 2, 9, 1, 5}, false},    // one under
             Case{CandidateStatistics{92, 4, 15, 1, 5}, false},
             Case{CandidateStatistics{92, 0, 15, 1, 5}, false},
             Case{CandidateStatistics{92, 2, 15, 3, 5}, false},
             Case{CandidateStatistics{92, 2, 15, 1, 9}, false},
             Case{CandidateStatistics{92, 2, 15, 1, 3}, false},
             Case{CandidateStatistics{89.99f, 2, 15, 1, 5}, false},
             Case{CandidateStatistics{95.01f, 2, 15, 1, 5}, false},
         }) {
        EXPECT_EQ(bounds.passes(c.s), c.passes) << c.s.rate << " " << c.s.maxHitRun;
    }
}

TEST(SearchThresholds, RateBoundsAreTakenInSinglePrecision)
{
    // 94.6 is not a single; the rate 94.6f lies below the double 94.6 yet meets the bound.
    const SearchThresholds t{94.6, 94.6, 0, 100, 0, 100, 0, 100, 0, 100};
    EXPECT_TRUE(ScreeningBounds(t).passes(CandidateStatistics{94.6f, 1, 1, 1, 1}));
    EXPECT_TRUE(ScreeningBounds(t).passes(CandidateStatistics{94.60005f, 1, 1, 1, 1}));  // within the margin
    EXPECT_FALSE(ScreeningBounds(t).passes(CandidateStatistics{94.6002f, 1, 1, 1, 1}));
}

TEST(SearchThresholds, AThresholdThatIsNotANumberFailsItsCheck)
{
    const QStringList texts{"0", "100", "0", "abc", "0", "100", "0", "100", "0", "100"};
    const SearchThresholds t = thresholdsFromTexts(texts);
    EXPECT_TRUE(std::isnan(t[3]));
    EXPECT_FALSE(ScreeningBounds(t).passes(CandidateStatistics{50, 1, 1, 1, 1}));
    SearchThresholds open = thresholdsFromTexts({"0", "100", "0", "100", "0", "100", "0", "100", "0", "100"});
    EXPECT_TRUE(ScreeningBounds(open).passes(CandidateStatistics{50, 1, 1, 1, 1}));
}

TEST(SearchThresholds, ParsingAListNamesTheBadThreshold)
{
    auto parsed = parseThresholdList(QStringLiteral("94.6,100,0,2,48,32768,0,0,32,32768"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ((*parsed)[0], 94.6);
    EXPECT_EQ((*parsed)[9], 32768);
    auto bad = parseThresholdList(QStringLiteral("94.6,100,0,x,48,32768,0,0,32,32768"));
    ASSERT_FALSE(bad);
    EXPECT_TRUE(bad.error().message.contains(QStringLiteral("最大连错上限")));
    EXPECT_FALSE(parseThresholdList(QStringLiteral("1,2,3")));
    QStringList boxes = QStringLiteral("94.6,100,0,2,48,32768,0,0,32,32768").split(u',');
    ASSERT_TRUE(parseThresholdTexts(boxes));
    boxes[8] = QStringLiteral(" ");
    auto empty = parseThresholdTexts(boxes);
    ASSERT_FALSE(empty);
    EXPECT_TRUE(empty.error().message.startsWith(QStringLiteral("最后连对下限")));
    EXPECT_FALSE(parseThresholdTexts(boxes.mid(0, 9)));  // a box missing
    EXPECT_EQ(thresholdText(94.6), QStringLiteral("94.6"));
    EXPECT_EQ(thresholdText(32768), QStringLiteral("32768"));
    EXPECT_EQ(thresholdText(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("不是数字"));
}
