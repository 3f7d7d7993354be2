#include "library_fixture.h"

#include "history/draw_history.h"
#include "library/formula_entry.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace qeltaro::test {

QString formulaFileText(int perCategory, int firstNumber)
{
    QString text;
    for (int i = firstNumber; i < firstNumber + perCategory; ++i) {
        text += QStringLiteral("万位码+千位码*%1=下期杀三星直选 连准%1期\r\n").arg(i);
        text += QStringLiteral("和数+%1=下期杀五星直选\r\n").arg(i);
        text += QStringLiteral("跨度*%1-个位码=下期杀二星组选\r\n").arg(i);
        if (i % 5 == 0)
            text += QStringLiteral("万位码+千位码*%1=下期杀三星直选\r\n").arg(i);
    }
    text += QStringLiteral("[三星直选]百位平方-十位码\r\n万位码+某某=下期杀五星直选\r\n");
    return text;
}

void fillLibrary(Store& store, int draws, int formulasPerCategory)
{
    if (draws > 0) {
        auto history = DrawHistory(store).importText(sampleHistoryLines(draws));
        ASSERT_TRUE(history) << history.error().message.toStdString();
    }
    if (formulasPerCategory > 0) {
        auto formulas = importFormulaText(store, formulaFileText(formulasPerCategory), {Category{3, false}, Kind::Kill});
        ASSERT_TRUE(formulas) << formulas.error().message.toStdString();
    }
}

void createLibraryStore(const QString& folder, int draws, int formulasPerCategory,
                        const std::function<void(Store&)>& setup)
{
    auto store = Store::open(folder);
    ASSERT_TRUE(store) << store.error().message.toStdString();
    fillLibrary(**store, draws, formulasPerCategory);
    if (setup)
        setup(**store);
}

}  // namespace qeltaro::test
