#include "export/trend_sheet.h"

#include <QDir>

namespace qeltaro {

SheetRows trendSheet(const TrendPage& page, const std::vector<Streak>& streaks)
{
    SheetRows rows;
    SheetRow titles, headers;
    for (int c = 0; c < page.columnCount(); ++c) {
        titles.push_back(SheetCell::ofText(page.groupTitle(c)));
        headers.push_back(SheetCell::ofText(page.header(c)));
    }
    rows.push_back(std::move(titles));
    rows.push_back(std::move(headers));
    for (int r = 0; r < page.rowCount(); ++r) {
        SheetRow row;
        row.reserve(size_t(page.columnCount()));
        for (int c = 0; c < page.columnCount(); ++c) {
            const QString text = page.text(r, c);
            if (page.isDrawn(r, c)) {
                row.push_back(SheetCell::ofText(text, page.drawnFill(c).value()));
                continue;
            }
            // Omissions and statistics as numbers, so the sheet can sort and sum them; "<0.01" stays text.
            bool isNumber = false;
            const double number = text.toDouble(&isNumber);
            row.push_back(c >= TrendPage::kLeadingColumns && isNumber ? SheetCell::ofNumber(number) : SheetCell::ofText(text));
        }
        rows.push_back(std::move(row));
    }
    rows.push_back({});
    rows.push_back({SheetCell::ofText(equalChanceNote())});
    rows.push_back({});
    auto textRow = [](const QStringList& texts) {
        SheetRow row;
        for (const QString& text : texts)
            row.push_back(SheetCell::ofText(text));
        return row;
    };
    rows.push_back({SheetCell::ofText(QStringLiteral("长龙"))});
    rows.push_back(textRow(streakHeaders()));
    for (const Streak& streak : streaks)
        rows.push_back(textRow(streakCells(streak)));
    rows.push_back({SheetCell::ofText(streakNote())});
    return rows;
}

QString trendWorkbookPath(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("zoushi.xlsx"));
}

Result<QString> writeTrendWorkbook(const QString& dataDir, const TrendPage& page, const std::vector<Streak>& streaks)
{
    const QString path = trendWorkbookPath(dataDir);
    if (Status written = writeWorkbook(path, trendSheet(page, streaks)); !written)
        return written.error();
    return path;
}

}  // namespace qeltaro
