#include "export/found_formula_export.h"

#include "domain/period_number.h"
#include "io/text_codec.h"
#include "store/store.h"

namespace qeltaro {

Result<TextExportReport> exportFoundFormulas(Store& store, const QString& period, const QStringList& texts)
{
    QString why;
    if (!PeriodNumber::parse(period, store.game(), &why))
        return badInput(QStringLiteral("期号“%1”无法用作导出文件名：%2").arg(period, why));
    TextExportReport report;
    report.path = store.dataDir() + u'/' + allCategoriesFileName(period);
    report.formulas = int(texts.size());
    if (Status s = writeFileAtomically(report.path, encodeLines(formulaTextFile(texts))); !s)
        return s.error();
    return report;
}

}  // namespace qeltaro
