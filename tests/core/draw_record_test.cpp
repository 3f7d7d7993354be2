#include "domain/draw_record.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

PeriodNumber period(const char* text)
{
    auto p = PeriodNumber::parse(QString::fromLatin1(text), Game{});
    EXPECT_TRUE(p.has_value()) << text;
    return p.value_or(PeriodNumber{});
}

int value(const DrawRecord& r, const char* code)
{
    return r.values[derivedIndex(QString::fromLatin1(code))];
}

DrawRecord draw(const Digits& d, const char* p = "160121001", std::optional<Digits> previous = std::nullopt)
{
    return deriveDrawRecord(period(p), d, previous, Game{});
}

}  // namespace

TEST(DrawRecord, Draw12345)
{
    const DrawRecord r = draw({1, 2, 3, 4, 5});
    const std::pair<const char*, int> expected[] = {
        {"L1Q", 1}, {"L2Q", 3}, {"L3Q", 10}, {"L4Q", 1}, {"L5Q", 4}, {"LH", 15}, {"LI", 5},
        {"LR", 5}, {"LS", 0}, {"LT", 4}, {"LU", 0}, {"LV", 4}, {"LW", 0}, {"L1L", 7}, {"L1M", 3},
        {"L1H", 1}, {"L2H", 1}, {"L3H", 1}, {"L4H", 1}, {"L5H", 1}, {"L1P", 2}, {"L2P", 2}, {"L3P", 1},
        {"L5L", 5}, {"L5M", 3}, {"L3L", 6}, {"L3M", 2}, {"LJ", 1}, {"LK", 5}, {"LL", 4}, {"LM", 10},
        {"LN", 3}, {"LO", 9}, {"LP", 2}, {"LQ", 6}, {"L3G", 9}, {"L3K", 27}, {"L3J", 8}, {"L3I", 6},
        {"L5B", 1}, {"L4B", 0}, {"L5C", 1}, {"L5D", 0}, {"L5E", 2}, {"L5F", 3}, {"LX", 0}, {"LY", 0}};
    for (const auto& [code, v] : expected)
        EXPECT_EQ(value(r, code), v) << code;
    EXPECT_EQ(digitsText(r.digits()).toStdString(), "12345");
}

TEST(DrawRecord, Draw00000And98765)
{
    const DrawRecord zeros = draw({0, 0, 0, 0, 0});
    const std::pair<const char*, int> zeroValues[] = {
        {"L4Q", 5}, {"L5Q", 0}, {"L2Q", 0}, {"LP", 5}, {"LR", 1}, {"LS", 4}, {"LU", 4}, {"L5H", 5},
        {"L1H", 0}, {"L3P", 5}, {"L1J", 1}, {"L2J", 1}, {"L3J", 1}, {"L4J", 1}, {"L5J", 1},
        {"L1F", 1}, {"L1I", 9}, {"LT", 0}};
    for (const auto& [code, v] : zeroValues)
        EXPECT_EQ(value(zeros, code), v) << code;

    const DrawRecord down = draw({9, 8, 7, 6, 5});
    EXPECT_EQ(value(down, "LW"), 4);
    EXPECT_EQ(value(down, "LV"), 0);
    EXPECT_EQ(value(down, "LJ"), 5);
    EXPECT_EQ(value(down, "LK"), 35);
    EXPECT_EQ(value(down, "L1Q"), 1);
    EXPECT_EQ(value(down, "L1J"), 512);
    EXPECT_EQ(value(down, "L1K"), 729);
    EXPECT_EQ(value(down, "L1F"), 5);
    // 1 is neither prime nor composite.
    const DrawRecord ones = draw({1, 1, 1, 1, 1});
    EXPECT_EQ(value(ones, "L2Q") + value(ones, "L4Q"), 0);
}

TEST(DrawRecord, DateColumnsComeFromThePeriodWithAFourDigitYear)
{
    const DrawRecord r = draw({1, 2, 3, 4, 5}, "161229007");
    EXPECT_EQ(value(r, "NF"), 2016);
    EXPECT_EQ(value(r, "NFW"), 9);
    EXPECT_EQ(value(r, "YF"), 12);
    EXPECT_EQ(value(r, "YFW"), 3);
    EXPECT_EQ(value(r, "RQ"), 29);
    EXPECT_EQ(value(r, "RQW"), 11);
    EXPECT_EQ(r.period.toStdString(), "161229007");
}

TEST(DrawRecord, RepeatsOfThePreviousDraw)
{
    const DrawRecord r = draw({1, 2, 3, 4, 5}, "160121002", Digits{1, 3, 2, 9, 9});
    EXPECT_EQ(value(r, "LX"), 1);  // only 万位 repeats in place
    EXPECT_EQ(value(r, "LY"), 3);  // 1, 2 and 3 occur in the previous draw
    const DrawRecord same = draw({7, 7, 0, 7, 0}, "160121002", Digits{7, 0, 0, 0, 0});
    EXPECT_EQ(value(same, "LX"), 3);
    EXPECT_EQ(value(same, "LY"), 5);  // repeated digits count each time
}

TEST(PeriodNumber, ParsesOnlyRealPeriods)
{
    EXPECT_TRUE(PeriodNumber::parse(QStringLiteral("160121001"), Game{}));
    EXPECT_TRUE(PeriodNumber::parse(QStringLiteral("160229120"), Game{}));  // leap day
    for (const char* bad : {"", "16012100", "1601210011", "16012a001", "160230001", "161301001",
                            "160121000", "160121121", "-60121001", "１60121001"}) {
        QString error;
        EXPECT_FALSE(PeriodNumber::parse(QString::fromUtf8(bad), Game{}, &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}

TEST(PeriodNumber, NextPeriodRollsOverDaysMonthsAndYears)
{
    const std::pair<const char*, const char*> cases[] = {
        {"160121007", "160121008"}, {"160121119", "160121120"}, {"160121120", "160122001"},
        {"160131120", "160201001"}, {"160228120", "160229001"}, {"150228120", "150301001"},
        {"161231120", "170101001"}, {"160121099", "160121100"}};
    for (const auto& [from, to] : cases)
        EXPECT_EQ(period(from).next(Game{}).text(Game{}).toStdString(), to) << from;
}

TEST(Digits, ParseExactlyFiveDigits)
{
    EXPECT_EQ(parseDigits(QStringLiteral("38146")), (Digits{3, 8, 1, 4, 6}));
    for (const char* bad : {"", "3814", "381467", "3814a", "38 46", "-3814", "３8146"})
        EXPECT_FALSE(parseDigits(QString::fromUtf8(bad))) << bad;
}
