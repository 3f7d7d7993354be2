#pragma once
// The workbooks the lists are exported to: each list has a fixed file name in the data folder,
// and a later export replaces the file of the same name (the formula list and the detail list
// share one).

#include "common/progress.h"
#include "common/result.h"
#include "export/spreadsheet_writer.h"

#include <QString>

namespace qeltaro {

enum class ListWorkbook {
    History,       // the history grid: lishi.xlsx
    FormulaList,   // the formula list: gongshi.xlsx
    ErrValues,     // the Err values: ErrarrLei.xlsx
    RankingQuery,  // the ranking list's query result: Print.xlsx
    RankingList,   // the ranking list (double-click): Jieguo.xlsx
    DetailList,    // the detail list: gongshi.xlsx
    FormulaSteps,  // the formula's calculation history: LSJS.xlsx
};

QString listWorkbookName(ListWorkbook which);
QString listWorkbookPath(const QString& dataDir, ListWorkbook which);

// Writes the sheet to the list's workbook in `dataDir`, replacing an older one; the path written.
Result<QString> writeListWorkbook(const QString& dataDir, ListWorkbook which, const SheetSource& sheet,
                                  Progress* progress = nullptr);
Result<QString> writeListWorkbook(const QString& dataDir, ListWorkbook which, const SheetRows& rows);

}  // namespace qeltaro
