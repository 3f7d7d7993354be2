#pragma once
// The history text file "更新至<newest period>期历史号码.txt" in the data folder: one line
// "PERIOD DIGITS" per draw in period order ("PERIOD DIGITS YYYY-MM-DD" for year-numbered games),
// CR LF line ends. `history import` reads it back.

#include "common/result.h"

#include <QString>

namespace qeltaro {

class Store;

struct HistoryTextFile {
    QString path;
    int draws = 0;
};

QString historyTextFileName(const QString& newestPeriod);

// Writes (or replaces) the file; an empty history writes nothing and says so.
Result<HistoryTextFile> exportHistoryText(Store& store);

}  // namespace qeltaro
