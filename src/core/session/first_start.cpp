#include "session/first_start.h"

#include "history/draw_history.h"
#include "library/formula_entry.h"
#include "settings/settings.h"
#include "store/formula_table.h"
#include "store/history_table.h"
#include "store/store.h"


namespace qeltaro {
Result<bool> shouldOfferSample(Store& store, Settings& settings)
{
    if (settings.sampleOffered())
        return false;
    auto draws = HistoryTable(store).count();
    if (!draws)
        return draws.error();
    if (*draws > 0)
        return false;
    for (const Category& category : Category::all()) {
        auto formulas = FormulaTable(store, category).count();
        if (!formulas)
            return formulas.error();
        if (*formulas > 0)
            return false;
    }
    return true;
}

void rememberSampleOffer(Settings& settings)
{
    settings.setSampleOffered();
}

QString sampleOfferTitle()
{
    return QStringLiteral("欢迎使用 Qeltaro");
}

QString sampleOfferQuestion()
{
    return QStringLiteral("现在还没有任何历史号码和公式。\n\n"
                          "是否载入随程序附带的示例：4080期真实历史号码（2014-10-30至2015-02-10），"
                          "以及几条示例公式？\n\n"
                          "示例公式只是为了演示公式的写法和软件的用法，不是投注建议。"
                          "以后可以用“删除所有历史”和“清空所有公式”把它们删除。");
}

const QStringList& exampleFormulaLines()
{
    static const QStringList lines = {
        QStringLiteral("万位码+千位码=下期杀一星直选"),
        QStringLiteral("和数+本期号=下期杀一星直选"),
        QStringLiteral("个位码*3+7=下期杀一星直选"),
        QStringLiteral("跨度+数字个数+上期号=下期杀一星直选"),
        QStringLiteral("百位邻号和+十位互补数=下期杀二星组选"),
        QStringLiteral("和个位+个位码+2=下期杀三星组选"),
        QStringLiteral("千位平方+日期=下期杀三星直选"),
        QStringLiteral("万位码+百位码+3=下期留一星直选"),
    };
    return lines;
}

Result<SampleLoad> loadSample(Store& store, const QString& sampleHistoryPath)
{
    auto draws = DrawHistory(store).importFile(sampleHistoryPath);
    if (!draws)
        return draws.error();
    auto formulas = importFormulaText(store, exampleFormulaLines().join(QStringLiteral("\r\n")), {{1, false}, Kind::Kill});
    if (!formulas)
        return formulas.error();
    return SampleLoad{draws->stored, formulas->stored};
}

}  // namespace qeltaro
