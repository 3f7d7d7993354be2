#pragma once
// Formulas entering the library as Chinese text: typed by the user, or read from a formula text
// file. Every line is parsed, checked and compiled first; a line that fails never reaches a table.

#include "common/result.h"
#include "domain/kind.h"
#include "language/formula_line.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qeltaro {

class FormulaSelection;
class Store;

inline constexpr const char16_t* kUnrecognisedFormulasFileName = u"无法识别公式.txt";

// The typed path's refusals (message box texts and titles).
QString emptyTypedFormulaMessage();         // 请在左边文本框输入需要添加的公式
QString emptyTypedFormulaTitle();           // 添加公式失败
QString unrecognisedTypedFormulaMessage();  // 公式文本文件中含有无法识别公式，无法添加到软件
QString unrecognisedFormulaTitle();         // 无法识别公式 (also the title of the question below)
// The title for a refusal of addTypedFormula.
QString typedFormulaRefusalTitle(const Error& error);

// The question asked after an import that met unrecognised lines.
QString viewUnrecognisedQuestion();  // 公式文本文件中含有无法识别公式，是否查看这些公式？

struct AddedFormula {
    FormulaListKey list;  // the category and kind the formula went to: the window shows it next
    int idx = 0;
    int number = 0;       // its 序号 in that list: the last, its idx being the table's highest
    QString code;
    QString text;
};

// Adds one typed formula. `current` gives the kind of a header-shape line. The new formula is
// marked selected in `selection` when one is given (it belongs to the returned list).
// Refused (BadInput, nothing stored) when the text is empty or not a recognisable formula; the
// message then begins with the message box text and names the reason on its next line.
Result<AddedFormula> addTypedFormula(Store& store, const QString& text, const FormulaListKey& current,
                                     FormulaSelection* selection = nullptr);

struct UnrecognisedLine {
    int lineNumber = 0;  // 1-based
    QString entry;       // what 无法识别公式.txt holds for it
    QString reason;
};

struct ImportReport {
    int stored = 0;      // lines stored
    int duplicates = 0;  // rows the rebuild removed because the same formula was stored already
    std::vector<UnrecognisedLine> unrecognised;
    // The list to show afterwards: the category the import started on, with the kind of the last
    // statement-shape line (or the starting kind).
    FormulaListKey list;
    // Tables that received formulas, in the order the file first reached them.
    std::vector<Category> tables;
    QString unrecognisedFilePath;  // file imports only
};

// "读入N条公式（其中D条与已有公式重复，已去除），U行无法识别".
QString formulaImportSummary(const ImportReport& report);

// Reads a formula text file (UTF-8 or GB18030) into the library in one transaction. Each table
// that receives formulas is rebuilt afterwards (duplicates removed, statistics emptied, idx
// renumbered 1..n). The unrecognised lines are written to 无法识别公式.txt in the data folder
// (an empty file when there are none). Refused when the file name does not end in "txt".
Result<ImportReport> importFormulaFile(Store& store, const QString& path, const FormulaListKey& current);
Result<ImportReport> importFormulaText(Store& store, const QString& text, const FormulaListKey& current);

// The lines of a formula file, parsed and checked; the kind carries from line to line.
struct PreparedLines {
    std::vector<ParsedLine> formulas;  // every line that may be stored, in file order
    std::vector<UnrecognisedLine> unrecognised;
    Kind finalKind = Kind::Kill;
};
PreparedLines prepareFileLines(const QString& text, Kind currentKind);

// Appends prepared formulas with an empty idx, then either rebuilds or renumbers every table
// that received some. Runs inside the caller's transaction.
enum class AfterAppend { Rebuild, Renumber };
struct AppendReport {
    std::vector<Category> tables;  // in first-use order
    int duplicates = 0;            // rows removed by the rebuilds
};
Result<AppendReport> appendFormulas(Store& store, const std::vector<ParsedLine>& formulas, AfterAppend after);

}  // namespace qeltaro
