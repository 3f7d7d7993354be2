#pragma once
// Reads a written workbook back for the tests: it is a zip of XML parts, unpacked with unzip and
// parsed for the sheet names, the cells of the first worksheet and the fill colour of each cell.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace qeltaro::test {

struct WorkbookCell {
    QString text;                       // a text cell's text
    std::optional<double> number;       // a number cell's value
    std::optional<std::uint32_t> fill;  // 0xRRGGBB of a solid fill

    // The text, or the number as written ("7", "2.5").
    QString shown() const;
};

class WorkbookContents {
public:
    // nullopt when the file is not a workbook that can be read.
    static std::optional<WorkbookContents> read(const QString& path);

    const QStringList& sheetNames() const { return sheetNames_; }
    // Row and column from 1, as the spreadsheet counts them.
    const WorkbookCell* cell(int row, int column) const;
    QString shown(int row, int column) const;
    std::optional<std::uint32_t> fill(int row, int column) const;
    // The highest row holding a cell, and the highest column holding one in that row.
    int rowCount() const;
    int columnCount(int row) const;
    // The shown texts of one row, columns 1 to columnCount(row).
    QStringList rowTexts(int row) const;

private:
    QStringList sheetNames_;
    std::map<std::pair<int, int>, WorkbookCell> cells_;
};

// One part of the zip (e.g. "xl/worksheets/sheet1.xml"); empty when missing.
QString workbookPart(const QString& path, const QString& part);

}  // namespace qeltaro::test
