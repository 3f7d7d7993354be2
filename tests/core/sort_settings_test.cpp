#include "backtest/sort_settings.h"
#include "refusal_checks.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(SortSettings, DefaultsPutTheBestFormulasFirst)
{
    const SortSettings defaults;
    EXPECT_EQ(sortKeysText(defaults.choices()), QStringLiteral("正确率 从大到小，最大连对 从大到小，最后连对 从大到小"));
    EXPECT_EQ(defaults.keepLimit, 3);
    // Higher rate and hit runs are better, longer miss runs worse.
    EXPECT_TRUE(chooseSortKey(SortKey::Rate).descending);
    EXPECT_TRUE(chooseSortKey(SortKey::MaxHitRun).descending);
    EXPECT_TRUE(chooseSortKey(SortKey::LastHitRun).descending);
    EXPECT_FALSE(chooseSortKey(SortKey::MaxMissRun).descending);
    EXPECT_FALSE(chooseSortKey(SortKey::LastMissRun).descending);
}

TEST(SortSettings, ParsesThreeKeysWithOptionalDirections)
{
    const std::pair<const char*, const char*> cases[] = {
        {"sglGsRate,intGsTrueCon,intGsTrueLst", "正确率 从大到小，最大连对 从大到小，最后连对 从大到小"},
        {"intGsErrCon,intGsErrLst,sglGsRate:asc", "最大连错 从小到大，最后连错 从小到大，正确率 从小到大"},
        {" INTGSERRLST:desc , sglgsrate:ASC,intGsTrueCon ", "最后连错 从大到小，正确率 从小到大，最大连对 从大到小"},
        {"sglGsRate,sglGsRate,sglGsRate", "正确率 从大到小，正确率 从大到小，正确率 从大到小"},
        // The sort dialog's words, as calc prints them, and mixed with column names.
        {"最大连错 从大到小，最后连对从小到大、正确率", "最大连错 从大到小，最后连对 从小到大，正确率 从大到小"},
        {"最后连错：从大到小,intGsTrueCon 从小到大,正确率:asc", "最后连错 从大到小，最大连对 从小到大，正确率 从小到大"},
    };
    for (const auto& [text, expected] : cases) {
        auto keys = parseSortKeys(QString::fromUtf8(text));
        ASSERT_TRUE(keys) << text << ": " << keys.error().message.toStdString();
        EXPECT_EQ(sortKeysText(*keys), QString::fromUtf8(expected)) << text;
        EXPECT_EQ(*parseSortKeys(sortKeysText(*keys)), *keys) << text;
    }
}

TEST(SortSettings, RefusesAnythingButThreeKnownColumns)
{
    const std::pair<const char*, const char*> cases[] = {
        {"sglGsRate", "三个排序键"},
        {"sglGsRate,intGsTrueCon", "三个排序键"},
        {"sglGsRate,intGsTrueCon,intGsTrueLst,intGsErrCon", "三个排序键"},
        {"sglGsRate,idx,intGsTrueLst", "未知排序键“idx”"},
        {"sglGsRate;DROP TABLE Lishi,intGsTrueCon,intGsTrueLst", "未知排序键"},
        {"sglGsRate:up,intGsTrueCon,intGsTrueLst", "未知排序方向“up”"},
        {",,", "未知排序键“”"},
        {"正确率 最大,最大连对,最后连对", "未知排序方向“最大”"},
        {"正确,最大连对,最后连对", "未知排序键“正确”"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_TRUE(test::refusedWith(parseSortKeys(QString::fromUtf8(text)), QString::fromUtf8(message))) << text;
}

TEST(SortSettings, KeepLimitIsAWholeNumberWithinTheTenDigits)
{
    EXPECT_EQ(*parseKeepLimit(u"3"), 3);
    EXPECT_EQ(*parseKeepLimit(u" 10 "), 10);
    EXPECT_EQ(*parseKeepLimit(u"0"), 0);
    EXPECT_EQ(*parseKeepLimit(u""), 0);  // a blank box counts as 0
    for (const char16_t* bad : {u"11", u"-1", u"abc", u"2.5", u"70000"})
        EXPECT_FALSE(parseKeepLimit(bad)) << QString::fromUtf16(bad).toStdString();
}

namespace {

StoredFormula formula(int idx, std::optional<StoredStatistics> s)
{
    StoredFormula f;
    f.idx = idx;
    f.statistics = s;
    return f;
}

std::vector<int> idxOrder(const std::vector<StoredFormula>& formulas, const char* keys)
{
    std::vector<int> out;
    for (size_t i : statisticsOrder(formulas, *parseSortKeys(QString::fromLatin1(keys))))
        out.push_back(formulas[i].idx);
    return out;
}

}  // namespace

TEST(SortSettings, OrdersByTheStoredStatisticsKeyByKey)
{
    // rate, max miss, max hit, last miss, last hit
    const std::vector<StoredFormula> formulas = {
        formula(1, StoredStatistics{50, 4, 6, 0, 2}),
        formula(2, StoredStatistics{80, 2, 6, 1, 0}),
        formula(3, std::nullopt),  // never back-tested
        formula(4, StoredStatistics{80, 3, 9, 0, 1}),
        formula(5, StoredStatistics{50, 4, 6, 0, 2}),  // equal to 1 in every key
        formula(6, StoredStatistics{65.5, 1, 2, 2, 0}),
    };
    EXPECT_EQ(idxOrder(formulas, "sglGsRate,intGsTrueCon,intGsTrueLst"), (std::vector<int>{4, 2, 6, 1, 5, 3}));
    EXPECT_EQ(idxOrder(formulas, "sglGsRate:asc,intGsTrueCon,intGsTrueLst"), (std::vector<int>{1, 5, 6, 4, 2, 3}));
    EXPECT_EQ(idxOrder(formulas, "intGsErrCon,intGsErrLst,sglGsRate"), (std::vector<int>{6, 2, 4, 1, 5, 3}));
    EXPECT_EQ(idxOrder(formulas, "intGsErrLst:desc,intGsTrueLst:asc,sglGsRate:asc"), (std::vector<int>{6, 2, 4, 1, 5, 3}));
}
