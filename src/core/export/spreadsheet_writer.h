#pragma once
// Writes a list to a workbook (one worksheet "Sheet1"): grid cell (row r, column c, from 0)
// goes to sheet cell (r + 1, c + 1) counted from 1, with its text or number and fill colour.

#include "common/result.h"

#include <QString>

#include <cstdint>
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

using SheetRows = std::vector<std::vector<SheetCell>>;

// The grid colours converted from their old blue-green-red values, so blue stays blue.
std::uint32_t colourFromBgr(std::uint32_t bgr);

// Replaces `path` only when the whole workbook was written.
Status writeWorkbook(const QString& path, const SheetRows& rows);

}  // namespace qeltaro
