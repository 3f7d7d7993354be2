#include "export/workbook_part.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <cstdio>
#include <map>

namespace qeltaro {
namespace {

// Progress is told every this many rows, and a stop is noticed as often.
constexpr int kRowsPerReport = 256;

QString reasonOf(lxw_error error)
{
    switch (error) {
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("无法创建文件（文件夹不存在或没有写入权限）");
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("无法读写临时文件（文件夹没有写入权限或磁盘已满）");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
        return QStringLiteral("写入文件失败（磁盘可能已满）");
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("内存不足");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("列表超出工作表的行列上限（%1行、%2列）").arg(LXW_ROW_MAX).arg(LXW_COL_MAX);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("有单元格的文字超过32767个字符");
    default:
        return QString::fromUtf8(lxw_strerror(error));
    }
}

// One format per fill colour, made on first use.
class FillFormats {
public:
    explicit FillFormats(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* formatFor(const std::optional<std::uint32_t>& fill)
    {
        if (!fill)
            return nullptr;
        const std::uint32_t rgb = *fill & 0xFFFFFF;
        auto it = formats_.find(rgb);
        if (it == formats_.end()) {
            lxw_format* format = workbook_add_format(workbook_);
            format_set_pattern(format, LXW_PATTERN_SOLID);
            format_set_bg_color(format, lxw_color_t(rgb));
            it = formats_.emplace(rgb, format).first;
        }
        return it->second;
    }

private:
    lxw_workbook* workbook_;
    std::map<std::uint32_t, lxw_format*> formats_;
};

// The source's rows into the sheet, until the first error or a stop (then `cancelled`).
lxw_error writeRows(lxw_workbook* workbook, lxw_worksheet* sheet, const SheetSource& source, Progress* progress,
                    bool& cancelled)
{
    FillFormats fills(workbook);
    lxw_error error = LXW_NO_ERROR;
    for (int r = 0; r < source.rowCount && error == LXW_NO_ERROR; ++r) {
        if (progress && r % kRowsPerReport == 0) {
            if (progress->cancelled()) {
                cancelled = true;
                break;
            }
            progress->report(r, source.rowCount, QStringLiteral("写入表格"));
        }
        const SheetRow row = source.row(r);
        for (size_t c = 0; c < row.size() && error == LXW_NO_ERROR; ++c) {
            const SheetCell& cell = row[c];
            lxw_format* format = fills.formatFor(cell.fill);
            if (cell.number)
                error = worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), *cell.number, format);
            else if (!cell.text.isEmpty())
                error = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.text.toUtf8().constData(), format);
            else if (format)
                error = worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), format);
        }
    }
    return error;
}

}  // namespace

Status writeWorkbookFile(const QString& path, const SheetSource& source, Progress* progress)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    const QString partial = target.absoluteDir().filePath(QStringLiteral(".%1.partial").arg(target.fileName()));
    const QByteArray partialName = QFile::encodeName(partial);
    const QByteArray folderName = QFile::encodeName(folder);
    auto fail = [&](const QString& reason) {
        QFile::remove(partial);
        return storageError(QStringLiteral("无法写入表格文件 %1：%2").arg(path, reason));
    };
    if (!QFileInfo(folder).isDir())
        return fail(QStringLiteral("文件夹 %1 不存在").arg(folder));

    // Row by row to a temporary file beside the workbook, so a full disk or a folder that cannot
    // be written shows up here rather than in the system's temporary folder.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(folderName.constData());
    lxw_workbook* workbook = workbook_new_opt(partialName.constData(), &options);
    if (!workbook)
        return fail(QStringLiteral("无法创建工作簿"));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
    if (!sheet) {
        workbook_close(workbook);
        return fail(reasonOf(LXW_ERROR_CREATING_TMPFILE));
    }

    bool cancelled = false;
    const lxw_error error = writeRows(workbook, sheet, source, progress, cancelled);
    const lxw_error closed = workbook_close(workbook);
    if (cancelled) {
        QFile::remove(partial);
        return Error{ErrorKind::Cancelled, QStringLiteral("已停止导出，原有文件未改动")};
    }
    if (error != LXW_NO_ERROR)
        return fail(reasonOf(error));
    if (closed != LXW_NO_ERROR)
        return fail(reasonOf(closed));
    // rename() replaces an older workbook of the same name in one step.
    if (std::rename(partialName.constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QStringLiteral("无法替换原有文件（该文件名被文件夹占用或没有写入权限）"));
    if (progress)
        progress->report(source.rowCount, source.rowCount, QStringLiteral("写入表格"));
    return success();
}

}  // namespace qeltaro

namespace {
const qeltaro::WorkbookPart kWorkbookPart{&qeltaro::writeWorkbookFile};
}  // namespace

QELTARO_PART_ENTRY(kWorkbookPart)
