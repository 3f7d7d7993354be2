#include "export/spreadsheet_writer.h"

#include "export/workbook_part.h"

namespace qeltaro {

std::uint32_t colourFromBgr(std::uint32_t bgr)
{
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

Status writeWorkbook(const QString& path, const SheetSource& source, Progress* progress)
{
    QString error;
    const WorkbookPart* part = workbookPart(&error);
    if (!part)
        return storageError(QStringLiteral("无法写入表格文件 %1：%2").arg(path, error));
    return part->write(path, source, progress);
}

Status writeWorkbook(const QString& path, const SheetRows& rows)
{
    return writeWorkbook(path, SheetSource{int(rows.size()), [&rows](int r) { return rows[size_t(r)]; }});
}

}  // namespace qeltaro
