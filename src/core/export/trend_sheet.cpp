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
            const bool drawn = page.isDrawn(r, c);
            row.push_back(SheetCell::ofText(page.text(r, c), drawn ? std::optional(page.drawnFill(c).value()) : std::nullopt));
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
