#pragma once
// The trend chart's workbook, zoushi.xlsx in the data folder (a later export replaces it): the
// page the window shows, with the chart names over their columns and the drawn cells filled in
// their colours, then the line about equal chance and the current streaks.

#include "common/result.h"
#include "export/spreadsheet_writer.h"
#include "trend/streaks.h"
#include "trend/trend_page.h"

#include <QString>

#include <vector>

namespace qeltaro {

SheetRows trendSheet(const TrendPage& page, const std::vector<Streak>& streaks);
QString trendWorkbookPath(const QString& dataDir);
// Writes the sheet to the data folder, replacing an older one; the path written.
Result<QString> writeTrendWorkbook(const QString& dataDir, const TrendPage& page, const std::vector<Streak>& streaks);

}  // namespace qeltaro
