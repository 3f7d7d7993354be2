#pragma once
// Writes a list to a workbook (one worksheet "Sheet1"): grid cell (row r, column c, from 0)
// goes to sheet cell (r + 1, c + 1) counted from 1, with its text or number and fill colour.
// Rows are streamed to disk as they are made, so a grid of millions of cells never sits in
// memory whole; the cell texts are therefore stored in the cells themselves (inline strings).

#include "common/progress.h"
#include "common/result.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qeltaro {

struct SheetCell {
    QString text;
    std::optional<double> number;  // written as a number when set
    std::optional<std::uint32_t> fill;  // 0xRRGGBB

    static SheetCell ofText(const QString& text, std::optional<std::uint32_t> fill = std::nullopt)
    {
        return {text, std::nullopt, fill};
    }
    static SheetCell ofNumber(double value, std::optional<std::uint32_t> fill = std::nullopt)
    {
        return {QString(), value, fill};
    }
};

using SheetRow = std::vector<SheetCell>;
using SheetRows = std::vector<SheetRow>;

// A sheet made row by row while it is written; row(r) is asked once per row, in order.
struct SheetSource {
    int rowCount = 0;
    std::function<SheetRow(int row)> row;
};

// The grid colours converted from their old blue-green-red values, so blue stays blue.
std::uint32_t colourFromBgr(std::uint32_t bgr);

// Replaces `path` only when the whole workbook was written. `progress` hears of the rows written
// and may stop the work (a Cancelled error; the older file stays).
Status writeWorkbook(const QString& path, const SheetSource& source, Progress* progress = nullptr);
Status writeWorkbook(const QString& path, const SheetRows& rows);

}  // namespace qeltaro
