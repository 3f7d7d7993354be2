#include "export/parameter_reference.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(ParameterReference, FilledFromTheLatestDraw)
{
    const DrawRecord before = deriveDrawRecord(*PeriodNumber::parse(QStringLiteral("160121036"), Game{}), {3, 0, 0, 0, 0}, std::nullopt, Game{});
    const DrawRecord draw = deriveDrawRecord(*PeriodNumber::parse(QStringLiteral("160121037"), Game{}), {3, 8, 1, 4, 6}, Digits{3, 0, 0, 0, 0}, Game{});
    const auto rows = parameterReferenceRows(HistoryColumns({before, draw}));
    ASSERT_EQ(rows.size(), 49u);
    auto cells = [&](int row) {
        std::vector<std::string> out;
        for (const QString& c : rows[size_t(row - 1)].cells)
            out.push_back(c.toStdString());
        return out;
    };
    EXPECT_EQ(cells(1), (std::vector<std::string>{"3", "8", "1", "4", "6", ""}));
    EXPECT_EQ(rows[8].label.toStdString(), "互补数");
    EXPECT_EQ(cells(9), (std::vector<std::string>{"6", "1", "8", "5", "3", ""}));
    EXPECT_EQ(cells(14), (std::vector<std::string>{"2", "1", "2", "", "", ""}));  // remainders 1: 1,4; 2: 8; 0: 3,6
    // Row 16 is labelled 质数个 and shows the prime count (L2Q): 3 -> 1 prime.
    EXPECT_EQ(rows[15].label.toStdString(), "质数个");
    EXPECT_EQ(cells(16)[5], "1");
    EXPECT_EQ(cells(20)[5], "22");    // 和数
    EXPECT_EQ(cells(36)[5], "1");     // 重上期号: 3 repeats at 万位
    EXPECT_EQ(cells(38)[5], "38");    // 期号 (the next issue)
    EXPECT_EQ(cells(40)[5], "37");    // 上期号 (this issue)
    EXPECT_EQ(cells(42)[5], "2016");
    EXPECT_EQ(cells(47)[5], "3");     // 日期合 of the 21st
    // 冷码: the digits never drawn tie, the smallest wins; 万位 drew only 3, 千位 0 and 8.
    EXPECT_EQ(cells(48), (std::vector<std::string>{"0", "1", "2", "1", "1", ""}));
    // 热码: each position drew two digits once each, or 3 twice at 万位.
    EXPECT_EQ(cells(49), (std::vector<std::string>{"3", "0", "0", "0", "0", ""}));
    for (int r = 15; r <= 47; ++r) {
        for (int c = 0; c < 5; ++c)
            EXPECT_TRUE(rows[size_t(r - 1)].cells[size_t(c)].isEmpty()) << r;
    }
}

TEST(ParameterReference, EmptyHistoryKeepsLabelsOnly)
{
    const auto rows = parameterReferenceRows(HistoryColumns());
    ASSERT_EQ(rows.size(), 49u);
    EXPECT_EQ(rows[46].label.toStdString(), "日期合");
    for (const auto& row : rows) {
        for (const QString& c : row.cells)
            EXPECT_TRUE(c.isEmpty());
    }
}
