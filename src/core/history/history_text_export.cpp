#include "history/history_text_export.h"

#include "io/text_codec.h"
#include "store/history_table.h"
#include "store/store.h"

namespace qeltaro {

QString historyTextFileName(const QString& newestPeriod)
{
    return QStringLiteral("更新至") + newestPeriod + QStringLiteral("期历史号码.txt");
}

Result<HistoryTextFile> exportHistoryText(Store& store)
{
    auto rows = HistoryTable(store).all();
    if (!rows)
        return rows.error();
    if (rows->empty())
        return badInput(QStringLiteral("没有历史号码，没有导出文本文件"));
    QStringList lines;
    lines.reserve(qsizetype(rows->size()));
    for (const DrawRecord& row : *rows)
        lines << row.period + u' ' + digitsText(row.digits());
    HistoryTextFile file;
    file.path = store.dataDir() + u'/' + historyTextFileName(rows->back().period);
    file.draws = int(rows->size());
    if (Status s = writeFileAtomically(file.path, encodeLines(lines)); !s)
        return s.error();
    return file;
}

}  // namespace qeltaro
