#include "domain/draw_record.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

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

// Each named column of `r` holds its value.
void expectValues(const DrawRecord& r, std::initializer_list<std::pair<const char*, int>> expected)
{
    for (const auto& [code, v] : expected)
        EXPECT_EQ(value(r, code), v) << code;
}

}  // namespace

TEST(DrawRecord, Draw12345)
{
    const DrawRecord r = draw({1, 2, 3, 4, 5});
    expectValues(r, {{"L1Q", 1}, {"L2Q", 3}, {"L3Q", 10}, {"L4Q", 1}, {"L5Q", 4}, {"LH", 15}, {"LI", 5},
                     {"LR", 5}, {"LS", 0}, {"LT", 4}, {"LU", 0}, {"LV", 4}, {"LW", 0}, {"L1L", 7}, {"L1M", 3},
                     {"L1H", 1}, {"L2H", 1}, {"L3H", 1}, {"L4H", 1}, {"L5H", 1}, {"L1P", 2}, {"L2P", 2},
                     {"L3P", 1}, {"L5L", 5}, {"L5M", 3}, {"L3L", 6}, {"L3M", 2}, {"LJ", 1}, {"LK", 5},
                     {"LL", 4}, {"LM", 10}, {"LN", 3}, {"LO", 9}, {"LP", 2}, {"LQ", 6}, {"L3G", 9},
                     {"L3K", 27}, {"L3J", 8}, {"L3I", 6}, {"L5B", 1}, {"L4B", 0}, {"L5C", 1}, {"L5D", 0},
                     {"L5E", 2}, {"L5F", 3}, {"LX", 0}, {"LY", 0}});
    EXPECT_EQ(digitsText(r.digits()).toStdString(), "12345");
}

TEST(DrawRecord, Draw00000And98765)
{
    expectValues(draw({0, 0, 0, 0, 0}),
                 {{"L4Q", 5}, {"L5Q", 0}, {"L2Q", 0}, {"LP", 5}, {"LR", 1}, {"LS", 4}, {"LU", 4}, {"L5H", 5},
                  {"L1H", 0}, {"L3P", 5}, {"L1J", 1}, {"L2J", 1}, {"L3J", 1}, {"L4J", 1}, {"L5J", 1},
                  {"L1F", 1}, {"L1I", 9}, {"LT", 0}});
    expectValues(draw({9, 8, 7, 6, 5}), {{"LW", 4}, {"LV", 0}, {"LJ", 5}, {"LK", 35}, {"L1Q", 1}, {"L1J", 512},
                                         {"L1K", 729}, {"L1F", 5}});
    // 1 is neither prime nor composite.
    const DrawRecord ones = draw({1, 1, 1, 1, 1});
    EXPECT_EQ(value(ones, "L2Q") + value(ones, "L4Q"), 0);
}

TEST(DrawRecord, DateColumnsComeFromThePeriodWithAFourDigitYear)
{
    const DrawRecord r = draw({1, 2, 3, 4, 5}, "161229007");
    expectValues(r, {{"NF", 2016}, {"NFW", 9}, {"YF", 12}, {"YFW", 3}, {"RQ", 29}, {"RQW", 11}});
    EXPECT_EQ(r.period.toStdString(), "161229007");
}

TEST(DrawRecord, RepeatsOfThePreviousDraw)
{
    // Only 万位 repeats in place; 1, 2 and 3 occur in the previous draw.
    expectValues(draw({1, 2, 3, 4, 5}, "160121002", Digits{1, 3, 2, 9, 9}), {{"LX", 1}, {"LY", 3}});
    // Repeated digits count each time.
    expectValues(draw({7, 7, 0, 7, 0}, "160121002", Digits{7, 0, 0, 0, 0}), {{"LX", 3}, {"LY", 5}});
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
