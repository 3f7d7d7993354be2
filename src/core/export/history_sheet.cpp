#include "export/history_sheet.h"

#include "common/display_colour.h"
#include "export/list_workbook.h"

namespace qeltaro {
namespace {

const QStringList kFixedHeaders = {QStringLiteral("期号"), QStringLiteral("万位"), QStringLiteral("千位"),
                                   QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};

bool isBlank(const VerificationCell& cell)
{
    return cell.text.isEmpty() && cell.mark == VerificationMark::None;
}

SheetCell verificationCell(const VerificationCell& cell)
{
    std::optional<std::uint32_t> fill;
    if (cell.mark == VerificationMark::Hit)
        fill = kBlue.value();
    else if (cell.mark == VerificationMark::Miss)
        fill = kGreen.value();
    bool isNumber = false;
    const int digit = cell.text.toInt(&isNumber);
    return isNumber ? SheetCell::ofNumber(digit, fill) : SheetCell::ofText(cell.text, fill);
}

}  // namespace

HistorySheet::HistorySheet(const HistoryColumns& history) : history_(history) {}

HistorySheet::HistorySheet(const HistoryColumns& history, std::vector<FormulaVerification> verification,
                           QStringList formulaNames, bool showOnCurrentRow)
    : history_(history), verification_(std::move(verification)), names_(std::move(formulaNames)),
      showOnCurrentRow_(showOnCurrentRow)
{
    while (names_.size() < qsizetype(verification_.size()))
        names_ << QString();
}

int HistorySheet::rowCount() const
{
    // The names need their row even when there is no draw yet.
    const int rows = 1 + history_.rowCount();
    return verification_.empty() ? rows : std::max(rows, 2);
}

bool HistorySheet::nameAboveFirstPeriod(int formula) const
{
    return history_.rowCount() == 0 || isBlank(verification_[size_t(formula)].cell(0, showOnCurrentRow_));
}

SheetRow HistorySheet::row(int r) const
{
    SheetRow cells;
    cells.reserve(size_t(columnCount()));
    if (r == 0) {
        for (const QString& header : kFixedHeaders)
            cells.push_back(SheetCell::ofText(header));
        for (int k = 0; k < int(verification_.size()); ++k) {
            QString header = verificationColumnHeader(k + 1);
            if (!nameAboveFirstPeriod(k) && !names_[k].isEmpty())
                header += QStringLiteral("：") + names_[k];
            cells.push_back(SheetCell::ofText(header));
        }
        return cells;
    }
    const int draw = r - 1;
    const bool isDraw = draw < history_.rowCount();
    if (isDraw) {
        cells.push_back(SheetCell::ofText(history_.period(draw)));
        for (int position = 1; position <= 5; ++position)
            cells.push_back(SheetCell::ofNumber(history_.digit(draw, position)));
    } else {
        cells.resize(6);
    }
    for (int k = 0; k < int(verification_.size()); ++k) {
        if (draw == 0 && nameAboveFirstPeriod(k))
            cells.push_back(SheetCell::ofText(names_[k]));
        else if (isDraw)
            cells.push_back(verificationCell(verification_[size_t(k)].cell(draw, showOnCurrentRow_)));
        else
            cells.emplace_back();
    }
    return cells;
}

SheetSource HistorySheet::source() const
{
    return SheetSource{rowCount(), [this](int r) { return row(r); }};
}

QString verificationColumnName(const ListedFormula& formula)
{
    return formula.text.isEmpty() ? formula.code : formula.text;
}

Result<QString> exportHistoryWorkbook(const QString& dataDir, const HistoryColumns& history, const FormulaList* verified,
                                      bool showOnCurrentRow, const BacktestEngine& engine, Progress* progress)
{
    if (!verified) {
        const HistorySheet sheet(history);
        return writeListWorkbook(dataDir, ListWorkbook::History, sheet.source(), progress);
    }
    if (progress)
        progress->report(0, 1, QStringLiteral("公式验算"));
    QStringList names;
    for (const ListedFormula& formula : verified->formulas())
        names << verificationColumnName(formula);
    const HistorySheet sheet(history, engine.verify(*verified, 0, verified->size(), history), names, showOnCurrentRow);
    return writeListWorkbook(dataDir, ListWorkbook::History, sheet.source(), progress);
}

}  // namespace qeltaro
