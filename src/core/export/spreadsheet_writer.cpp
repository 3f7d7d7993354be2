#include "export/spreadsheet_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <cstdio>
#include <map>

namespace qeltaro {

std::uint32_t colourFromBgr(std::uint32_t bgr)
{
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

Status writeWorkbook(const QString& path, const SheetRows& rows)
{
    const QFileInfo target(path);
    const QString partial = target.absoluteDir().filePath(QStringLiteral(".%1.partial").arg(target.fileName()));
    const QByteArray partialName = QFile::encodeName(partial);
    auto fail = [&](const QString& reason) {
        QFile::remove(partial);
        return storageError(QStringLiteral("无法写入表格文件 %1：%2").arg(path, reason));
    };

    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    lxw_workbook* workbook = workbook_new_opt(partialName.constData(), &options);
    if (!workbook)
        return fail(QStringLiteral("无法创建工作簿"));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");

    // One format per fill colour.
    std::map<std::uint32_t, lxw_format*> fills;
    auto formatFor = [&](const std::optional<std::uint32_t>& fill) -> lxw_format* {
        if (!fill)
            return nullptr;
        const std::uint32_t rgb = *fill & 0xFFFFFF;
        auto it = fills.find(rgb);
        if (it == fills.end()) {
            lxw_format* format = workbook_add_format(workbook);
            format_set_pattern(format, LXW_PATTERN_SOLID);
            format_set_bg_color(format, lxw_color_t(rgb));
            it = fills.emplace(rgb, format).first;
        }
        return it->second;
    };

    lxw_error error = LXW_NO_ERROR;
    for (size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
        for (size_t c = 0; c < rows[r].size() && error == LXW_NO_ERROR; ++c) {
            const SheetCell& cell = rows[r][c];
            lxw_format* format = formatFor(cell.fill);
            if (cell.number)
                error = worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), *cell.number, format);
            else if (!cell.text.isEmpty())
                error = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.text.toUtf8().constData(), format);
            else if (format)
                error = worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), format);
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (error != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(error)));
    if (closed != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(closed)));
    // rename() replaces an older workbook of the same name in one step.
    if (std::rename(partialName.constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("无法替换原有文件"));
    return success();
}

}  // namespace qeltaro
