#pragma once
// "公式中文导出" of the search: the Chinese text of every formula shown in the found list, one per
// line, under the formula text file's banner, with a separator line after every 50 formulas and
// at the end. The file is named by the next period, P期时时彩公式.txt, in the data folder.

#include "common/result.h"
#include "export/formula_text_export.h"

#include <QString>
#include <QStringList>

namespace qeltaro {

class Store;

// `period` is the next period number (the main window's period box); refused when it is not one.
Result<TextExportReport> exportFoundFormulas(Store& store, const QString& period, const QStringList& texts);

}  // namespace qeltaro
