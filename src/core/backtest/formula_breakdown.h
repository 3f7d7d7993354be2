#pragma once
// The formula calculation history ("公式计算步骤"): for one formula and every history row, the
// value the formula forms from that row, term by term, and the value it carries to the next
// period. The last row's value is the one for the next, not yet drawn, period.
//
// Sums of terms (a column, "(column MOD n)", and a whole number as the last term: the form the
// formula search produces) show each term's value joined by "+" and their sum. Any other code
// text shows the code with every column replaced by its value on the row, and the formula's
// value by the usual numeric rules ("无值" where it has none).

#include "common/result.h"
#include "domain/history_columns.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace qeltaro {

inline constexpr const char16_t* kBreakdownCaption = u"公式计算步骤";
inline constexpr const char16_t* kBreakdownToolTip = u"双击该表可以导出到Excel";

struct SumTerm {
    enum Kind { Column, ColumnMod, Number };
    Kind kind = Column;
    int column = 0;  // catalogue order 0..100
    int operand = 0; // the MOD divisor, or the number itself
};

// The terms of a sum formula; nullopt when the code text is not such a sum.
std::optional<std::vector<SumTerm>> sumTerms(QStringView code);

struct BreakdownRow {
    QString period;      // 期号
    QString digits;      // 当期号码, the five digits together
    QString expression;  // the term values joined by "+", or the code with the values put in
    QString value;       // 计算值(算下期)
};

struct FormulaBreakdown {
    QStringList headers;  // "期号", "当期号码", the formula's text, "计算值(算下期)"
    bool termwise = false;  // the code text is a sum of terms
    std::vector<BreakdownRow> rows;
};

// `text` (gongshiCN) heads the expression column; the code text when it is empty. A code text the
// formula language refuses gets its message.
Result<FormulaBreakdown> breakDownFormula(const HistoryColumns& history, const QString& code, const QString& text);

}  // namespace qeltaro
