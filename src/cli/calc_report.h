#pragma once
// What calc prints for a calculation: every slot's counts and the pages of the Err value window
// they fill. The watch prints the same for each calculation it makes.

#include "report.h"

#include "aggregate/err_window_rows.h"
#include "backtest/category_calculation.h"

#include <vector>

namespace qeltaro::cli {

class CalcReport : public Report {
public:
    // `listHeading` names the list in the text form: "3D 杀码".
    CalcReport(QString listHeading, CategoryCalculation calculation, SortSettings sort);
    void writeText(TextOut& out) const override;
    void writeJson(JsonOut& out) const override;

private:
    QString listHeading_;
    CategoryCalculation calculation_;
    std::vector<ErrWindowTable> tables_;
    SortSettings sort_;
};

}  // namespace qeltaro::cli
