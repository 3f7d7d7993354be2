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
    // Year-numbered periods do not say the day: the draw date follows, as the import reads it.
    const bool withDate = store.game().numbering == Numbering::Year;
    for (const DrawRecord& row : *rows) {
        QString line = row.period + u' ' + digitsText(row.digits());
        if (withDate)
            line += u' ' + row.drawDate().toString(QStringLiteral("yyyy-MM-dd"));
        lines << line;
    }
    HistoryTextFile file;
    file.path = store.dataDir() + u'/' + historyTextFileName(rows->back().period);
    file.draws = int(rows->size());
    if (Status s = writeFileAtomically(file.path, encodeLines(lines)); !s)
        return s.error();
    return file;
}

}  // namespace qeltaro
