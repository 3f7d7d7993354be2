#include "session/first_start.h"
#include "settings/settings.h"
#include "store/formula_table.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(FirstStart, OfferedOnceToAnEmptyStoreAndLoadsTheSample)
{
    qeltaro::test::TempStore temp;
    Settings settings(temp.settingsFile());
    EXPECT_TRUE(*shouldOfferSample(temp.store(), settings));

    auto loaded = loadSample(temp.store(), qeltaro::test::sampleHistoryPath());
    ASSERT_TRUE(loaded) << loaded.error().message.toStdString();
    EXPECT_EQ(loaded->draws, 4080);
    EXPECT_EQ(loaded->formulas, exampleFormulaLines().size());
    EXPECT_EQ(*FormulaTable(temp.store(), Category{1, false}).count(Kind::Kill), 4);
    EXPECT_EQ(*FormulaTable(temp.store(), Category{2, true}).count(Kind::Kill), 1);
    // Not offered again to a store that holds something, nor after an answer.
    EXPECT_FALSE(*shouldOfferSample(temp.store(), settings));

    qeltaro::test::TempStore empty;
    rememberSampleOffer(*std::make_unique<Settings>(empty.settingsFile()));
    Settings restarted(empty.settingsFile());
    EXPECT_FALSE(*shouldOfferSample(empty.store(), restarted));
}
