#include "export/list_workbook.h"

#include <QDir>

namespace qeltaro {

QString listWorkbookName(ListWorkbook which)
{
    switch (which) {
    case ListWorkbook::History: return QStringLiteral("lishi.xlsx");
    case ListWorkbook::FormulaList: return QStringLiteral("gongshi.xlsx");
    case ListWorkbook::ErrValues: return QStringLiteral("ErrarrLei.xlsx");
    case ListWorkbook::RankingQuery: return QStringLiteral("Print.xlsx");
    case ListWorkbook::RankingList: return QStringLiteral("Jieguo.xlsx");
    case ListWorkbook::DetailList: return QStringLiteral("gongshi.xlsx");
    case ListWorkbook::FormulaSteps: return QStringLiteral("LSJS.xlsx");
    }
    return {};
}

QString listWorkbookPath(const QString& dataDir, ListWorkbook which)
{
    return QDir(dataDir).filePath(listWorkbookName(which));
}

Result<QString> writeListWorkbook(const QString& dataDir, ListWorkbook which, const SheetSource& sheet,
                                  Progress* progress)
{
    const QString path = listWorkbookPath(dataDir, which);
    if (Status written = writeWorkbook(path, sheet, progress); !written)
        return written.error();
    return path;
}

Result<QString> writeListWorkbook(const QString& dataDir, ListWorkbook which, const SheetRows& rows)
{
    return writeListWorkbook(dataDir, which, SheetSource{int(rows.size()), [&rows](int r) { return rows[size_t(r)]; }});
}

}  // namespace qeltaro
