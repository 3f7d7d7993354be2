#include "backtest/formula_verification.h"

#include "backtest/formula_stats_table.h"
#include "language/expression.h"

namespace qeltaro {

VerificationCell FormulaVerification::cell(int row, bool showOnCurrentRow) const
{
    if (row < 0 || row >= rowCount())
        return {};  // no column: the formula could not be evaluated
    const auto mark = [this](int scoredRow) { return hitAt(scoredRow) ? VerificationMark::Hit : VerificationMark::Miss; };
    if (showOnCurrentRow) {
        const bool hasNext = row + 1 < rowCount();
        return {digitText(computedDigit(row)), hasNext ? mark(row + 1) : VerificationMark::None};
    }
    if (row == 0)
        return {};
    return {digitText(computedDigit(row - 1)), mark(row)};
}

QString verificationColumnHeader(int k)
{
    return (k < 100 ? QStringLiteral("公式") : QStringLiteral("式")) + QString::number(k);
}

}  // namespace qeltaro
