#pragma once
// The formula text file: the formulas' Chinese texts, each with its current run of hits
// ("连准：N期"), under a banner and with a separator line after every 50 formulas and at the end.
// Written to the data folder in the system's encoding with CR LF line ends.

#include "common/result.h"
#include "domain/kind.h"
#include "language/formula_line.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace qeltaro {

class Store;

struct ExportedFormula {
    QString text;    // gongshiCN
    int hitRun = 0;  // the run of hits ending at the last evaluated period
};

// The formulas of one list, in idx order, with their run of hits. The back-test supplies a
// fresh one; storedHitRuns takes the run the last full back-test stored (0 when none was).
using HitRunSource = std::function<Result<std::vector<ExportedFormula>>(const FormulaListKey&)>;
HitRunSource storedHitRuns(Store& store);

inline constexpr int kFormulasPerSeparator = 50;
inline constexpr int kAllCategoriesPadding = 11;  // full-width spaces before "连准："

QStringList formulaTextBanner();  // the three banner lines and the empty line
QString formulaTextSeparator(int formulasWritten);
// The banner, the formula lines with a separator after every 50th, and the final separator.
QStringList formulaTextFile(const QStringList& formulaLines);

// "text　…　连准：N期" with exactly eleven full-width spaces.
QString allCategoriesLine(const ExportedFormula& formula);
// The selected category's lines: each text padded with full-width spaces to the length of the
// first formula of its block of 50 plus 11 (the first block takes formula 1, the block after
// formula 50k takes formula 50k); texts already longer get no padding.
QStringList categoryLines(const std::vector<ExportedFormula>& formulas);

// The tables in the order the all-categories file lists them: 5D 4D 3D 2D 1D 5G 4G 3G 2G.
std::vector<Category> allCategoriesExportOrder();

QString allCategoriesFileName(const QString& period);                       // P期时时彩公式.txt
QString categoryFileName(const QString& period, const FormulaListKey& list);  // P期时时彩三星直选杀公式.txt

struct TextExportReport {
    QString path;
    int formulas = 0;
};

// The formulas of the given kind of every category. `period` is the next period number.
Result<TextExportReport> exportAllCategories(Store& store, const QString& period, Kind kind,
                                             const HitRunSource& source = {});
// The formulas of one list.
Result<TextExportReport> exportCategory(Store& store, const QString& period, const FormulaListKey& list,
                                        const HitRunSource& source = {});

}  // namespace qeltaro
