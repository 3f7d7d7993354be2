#pragma once
// The detail list ("详细结果列表") the Err value window opens after a calculation by the
// selected formulas: the selected formulas of the formula list last calculated, in list order,
// with their digit for the next period and their rate text.

#include "backtest/category_calculation.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace qeltaro {

inline constexpr const char16_t* kDetailListCaption = u"详细结果列表";

struct DetailListRow {
    int number = 0;    // 序号: 1, 2, ...
    int idx = 0;
    QString formula;   // 公式: the Chinese or the code text, as the formula list shows it
    QString starWord;  // 类型: the star word of the chosen category
    QString killWord;  // 生杀: "杀" or "生"
    QString result;    // 结果: the next-period digit, empty when there is none
    QString rateText;  // 号码: the rate text of the formula list

    QString cellText(int column) const;
};

QStringList detailListHeaders();  // "序号", "公式", "类型", "生杀", "结果", "号码"

// `rateText` gives the formula list's rate text of a formula by its idx (the back-test owns it).
std::vector<DetailListRow> detailListRows(const CategoryCalculation& calculation, bool showChinese,
                                          const std::function<QString(int idx)>& rateText);


}  // namespace qeltaro
