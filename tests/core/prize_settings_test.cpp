// The prize table of a data folder: the official one until changed, changes refused whole, and
// a stored table that cannot be used refused on reading.

#include "money/prize_settings.h"

#include "store/sqlite_database.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(PrizeSettings, OfficialUntilChangedAndAChangeIsRefusedWholeOnOneBadValue)
{
    test::TempStore temp;
    const QByteArray before = test::readFile(temp.store().filePath());
    auto table = loadPrizeTable(temp.store());
    ASSERT_TRUE(table);
    EXPECT_EQ(*table, PrizeTable{});
    for (int n = 1; n <= 5; ++n)
        EXPECT_DOUBLE_EQ(table->returnRate(n), 0.5);
    temp.reopen();
    EXPECT_EQ(test::readFile(temp.store().filePath()), before);  // reading wrote nothing

    struct Refused {
        PrizeChange change;
        const char* said;
    };
    const Refused refused[] = {
        {{QStringLiteral("1.5"), 3, QStringLiteral("0")}, "须为正数"},
        {{QStringLiteral("abc"), std::nullopt, std::nullopt}, "不是数字"},
        {{QStringLiteral("-2"), std::nullopt, std::nullopt}, "须为正数"},
        {{QStringLiteral("0.0005"), std::nullopt, std::nullopt}, "最多3位小数"},
        {{std::nullopt, 6, QStringLiteral("10")}, "1到5"},
        {{std::nullopt, 2, QStringLiteral("2000000000")}, "最多"},
    };
    for (const Refused& r : refused) {
        auto changed = changePrizeTable(temp.store(), r.change);
        ASSERT_FALSE(changed);
        EXPECT_EQ(changed.error().kind, ErrorKind::BadInput);
        EXPECT_TRUE(changed.error().message.contains(QString::fromUtf8(r.said))) << changed.error().message.toStdString();
    }
    EXPECT_EQ(test::readFile(temp.store().filePath()), before);

    auto changed = changePrizeTable(temp.store(), {QStringLiteral("0.002"), 3, QStringLiteral("1.7")});
    ASSERT_TRUE(changed) << changed.error().message.toStdString();
    EXPECT_EQ(changed->stake, 2);
    EXPECT_EQ(changed->prize(3), 1'700);
    EXPECT_DOUBLE_EQ(changed->returnRate(3), 0.85);
    EXPECT_DOUBLE_EQ(changed->returnRate(1), 500.0);  // 10 yuan for 10 bets of 0.002
    temp.reopen();
    EXPECT_EQ(*loadPrizeTable(temp.store()), *changed);
}

TEST(PrizeSettings, AStoredAmountThatIsNotPositiveIsRefused)
{
    test::TempStore temp;
    ASSERT_TRUE(savePrizeTable(temp.store(), PrizeTable{}));
    ASSERT_TRUE(temp.store().database().exec(QStringLiteral("UPDATE Jiangjin SET prize4 = -5")));
    auto table = loadPrizeTable(temp.store());
    ASSERT_FALSE(table);
    EXPECT_EQ(table.error().kind, ErrorKind::Storage);
    EXPECT_TRUE(table.error().message.contains(QStringLiteral("四星直选奖金-0.005元无效"))) << table.error().message.toStdString();
}
