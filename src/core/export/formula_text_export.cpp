#include "export/formula_text_export.h"

#include "io/text_codec.h"
#include "store/formula_table.h"
#include "store/store.h"

namespace qeltaro {
namespace {

const QChar kFullWidthSpace(0x3000);

QString withRun(QString text, int hitRun)
{
    return text + QStringLiteral("连准：%1期").arg(hitRun);
}

// A period number becomes part of a file name; refuse what would leave the data folder.
Status checkPeriodForFileName(const QString& period)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    if (period.trimmed().isEmpty())
        return badInput(QStringLiteral("没有期号，无法生成导出文件名"));
    for (QChar c : period) {
        if (forbidden.contains(c) || c.unicode() < 32)
            return badInput(QStringLiteral("期号“%1”不能用作文件名").arg(period));
    }
    return success();
}

Result<TextExportReport> writeExport(Store& store, const QString& fileName, const QStringList& formulaLines)
{
    TextExportReport report;
    report.path = store.dataDir() + u'/' + fileName;
    report.formulas = int(formulaLines.size());
    if (Status s = writeFileAtomically(report.path, encodeLines(formulaTextFile(formulaLines))); !s)
        return s.error();
    return report;
}

}  // namespace

HitRunSource storedHitRuns(Store& store)
{
    return [&store](const FormulaListKey& list) -> Result<std::vector<ExportedFormula>> {
        auto formulas = FormulaTable(store, list.category).list(list.kind);
        if (!formulas)
            return formulas.error();
        std::vector<ExportedFormula> out;
        out.reserve(formulas->size());
        for (const StoredFormula& f : *formulas)
            out.push_back({f.text, f.statistics ? f.statistics->lastHitRun : 0});
        return out;
    };
}

QStringList formulaTextBanner()
{
    const QString indent(10, u' ');
    // The program has no web site and no mail address; the guide comes with it.
    return {QStringLiteral("本组公式由《Qeltaro》软件搜索而来"),
            indent + QStringLiteral("《Qeltaro》使用说明：随程序附带（docs/guide/index.html）"),
            indent + QStringLiteral("《Qeltaro》时时彩公式分析软件"), QString()};
}

QString formulaTextSeparator(int formulasWritten)
{
    return QString(12, QChar(0x2014)) + QString::number(formulasWritten) + QString(14, QChar(0x2014)) +
           QStringLiteral("本公式由《Qeltaro》生成");
}

QStringList formulaTextFile(const QStringList& formulaLines)
{
    QStringList lines = formulaTextBanner();
    int written = 0;
    for (const QString& line : formulaLines) {
        lines << line;
        if (++written % kFormulasPerSeparator == 0)
            lines << formulaTextSeparator(written);
    }
    lines << formulaTextSeparator(written);
    return lines;
}

QString allCategoriesLine(const ExportedFormula& formula)
{
    return withRun(formula.text + QString(kAllCategoriesPadding, kFullWidthSpace), formula.hitRun);
}

QStringList categoryLines(const std::vector<ExportedFormula>& formulas)
{
    QStringList lines;
    qsizetype width = formulas.empty() ? 0 : formulas.front().text.size() + 10;
    for (size_t i = 0; i < formulas.size(); ++i) {
        QString text = formulas[i].text;
        if (text.size() < width + 1)
            text += QString(width + 1 - text.size(), kFullWidthSpace);
        lines << withRun(std::move(text), formulas[i].hitRun);
        // After every 50th line the width follows the line just written.
        if ((i + 1) % kFormulasPerSeparator == 0)
            width = formulas[i].text.size() + 10;
    }
    return lines;
}

std::vector<Category> allCategoriesExportOrder()
{
    std::vector<Category> order;
    for (bool group : {false, true}) {
        for (int positions = 5; positions >= (group ? 2 : 1); --positions)
            order.push_back({positions, group});
    }
    return order;
}

QString allCategoriesFileName(const QString& period)
{
    return period + QStringLiteral("期时时彩公式.txt");
}

QString categoryFileName(const QString& period, const FormulaListKey& list)
{
    return period + QStringLiteral("期时时彩") + list.category.caption() +
           (isKill(list.kind) ? QStringLiteral("杀") : QStringLiteral("生")) + QStringLiteral("公式.txt");
}

Result<TextExportReport> exportAllCategories(Store& store, const QString& period, Kind kind, const HitRunSource& source)
{
    if (Status s = checkPeriodForFileName(period); !s)
        return s.error();
    const HitRunSource formulasOf = source ? source : storedHitRuns(store);
    QStringList lines;
    for (const Category& category : allCategoriesExportOrder()) {
        auto formulas = formulasOf({category, kind});
        if (!formulas)
            return formulas.error();
        for (const ExportedFormula& f : *formulas)
            lines << allCategoriesLine(f);
    }
    return writeExport(store, allCategoriesFileName(period), lines);
}

Result<TextExportReport> exportCategory(Store& store, const QString& period, const FormulaListKey& list,
                                        const HitRunSource& source)
{
    if (Status s = checkPeriodForFileName(period); !s)
        return s.error();
    const HitRunSource formulasOf = source ? source : storedHitRuns(store);
    auto formulas = formulasOf(list);
    if (!formulas)
        return formulas.error();
    return writeExport(store, categoryFileName(period, list), categoryLines(*formulas));
}

}  // namespace qeltaro
