#pragma once
// The online formula update: the formula file at the configured address (settings key
// FormulaUrl) is downloaded, kept as qeltaro.txt in the data folder, and replaces the formulas of
// every category. The download and the replacement are separate steps so that a window can run
// the download on a worker thread and touch the store on its own.

#include "common/result.h"
#include "io/http_get.h"
#include "language/formula_line.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace qeltaro {

class Store;

inline constexpr const char16_t* kDownloadedFormulasFileName = u"qeltaro.txt";
// A download of this many bytes or fewer is no formula file: the update ends without changes.
inline constexpr qint64 kShortestFormulaFile = 1024;

// The confirmation asked before an update, and its title. The update replaces every category's
// formulas, as the question says.
QString formulaUpdateQuestion();
QString formulaUpdateTitle();  // 读入历史
// Said when no address is configured.
QString formulaUrlMissingMessage();

struct FormulaUpdateReport {
    QString savedPath;   // qeltaro.txt
    qint64 bytes = 0;
    int stored = 0;
    int skipped = 0;     // lines that are no storable formula, dropped
    std::vector<Category> tables;
    FormulaListKey list;  // the category the update started on, with the kind of the last statement line
    QString backupPath;  // the copy of the store kept before the formulas were replaced
};

// Keeps the downloaded bytes as qeltaro.txt, then, when they make a formula file with at least one
// storable formula, keeps a backup copy of the store and replaces the formulas of all nine tables
// with the file's in one transaction. Lines that cannot be stored are skipped. A short file
// (kShortestFormulaFile bytes or fewer) or one without a storable formula is refused (BadInput)
// and the library is left as it was.
Result<FormulaUpdateReport> applyFormulaDownload(Store& store, const QByteArray& bytes, const FormulaListKey& current);

// Downloads the file and applies it. A failed download is reported and changes nothing.
Result<FormulaUpdateReport> updateFormulasOnline(Store& store, const QString& url, const FormulaListKey& current,
                                                 const HttpGetLimits& limits = {}, const Progress* progress = nullptr);

}  // namespace qeltaro
