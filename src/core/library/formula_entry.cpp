#include "library/formula_entry.h"

#include "domain/formula_selection.h"
#include "io/text_codec.h"
#include "store/formula_table.h"
#include "store/in_transaction.h"
#include "store/store.h"

#include <algorithm>

namespace qeltaro {
namespace {

// The typed formula's idx: the table's row count + 1, or 1 when the last stored row's idx is
// below 1.
Result<int> nextTypedIdx(Store& store, const Category& category)
{
    auto count = FormulaTable(store, category).count();
    if (!count)
        return count.error();
    auto last = FormulaTable(store, category).lastStoredIdx();
    if (!last)
        return last.error();
    if (*last && **last < 1)
        return 1;
    return *count + 1;
}

Error refusedTypedFormula(const QString& reason)
{
    return badInput(unrecognisedTypedFormulaMessage() + u'\n' + reason);
}

}  // namespace

QString emptyTypedFormulaMessage() { return QStringLiteral("请在左边文本框输入需要添加的公式"); }
QString emptyTypedFormulaTitle() { return QStringLiteral("添加公式失败"); }
QString unrecognisedTypedFormulaMessage() { return QStringLiteral("公式文本文件中含有无法识别公式，无法添加到软件"); }
QString unrecognisedFormulaTitle() { return QStringLiteral("无法识别公式"); }
QString viewUnrecognisedQuestion() { return QStringLiteral("公式文本文件中含有无法识别公式，是否查看这些公式？"); }

QString formulaImportSummary(const ImportReport& report)
{
    return QStringLiteral("读入%1条公式（其中%2条与已有公式重复，已去除），%3行无法识别")
        .arg(report.stored)
        .arg(report.duplicates)
        .arg(report.unrecognised.size());
}

QString typedFormulaRefusalTitle(const Error& error)
{
    if (error.kind == ErrorKind::BadInput && error.message.startsWith(unrecognisedTypedFormulaMessage()))
        return unrecognisedFormulaTitle();
    return emptyTypedFormulaTitle();
}

Result<AddedFormula> addTypedFormula(Store& store, const QString& text, const FormulaListKey& current,
                                     FormulaSelection* selection)
{
    if (text.trimmed().isEmpty())
        return badInput(emptyTypedFormulaMessage());
    const ParsedLine line = parseFormulaLine(text, LineSource::Typed, current.kind);
    if (const LineCheck check = checkLine(line, LineSource::Typed); !check.ok())
        return refusedTypedFormula(check.reason);

    const Category category = *line.category;
    int number = 0;
    auto idx = inTransaction(store.database(), [&]() -> Result<int> {
        auto idx = nextTypedIdx(store, category);
        if (!idx)
            return idx;
        FormulaTable table(store, category);
        if (Status s = table.append(line.kind, line.code, line.text, *idx); !s)
            return s.error();
        auto listed = table.count(line.kind);
        if (!listed)
            return listed.error();
        number = *listed;
        return idx;
    });
    if (!idx)
        return idx.error();
    if (selection)
        selection->set(*idx, true);
    return AddedFormula{{category, line.kind}, *idx, number, line.code, line.text};
}

PreparedLines prepareFileLines(const QString& text, Kind currentKind)
{
    PreparedLines prepared;
    Kind kind = currentKind;
    const QStringList lines = splitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ParsedLine line = parseFormulaLine(lines[i], LineSource::File, kind);
        // A statement line sets the kind for the header lines after it, stored or not.
        if (line.statement)
            kind = line.kind;
        const LineCheck check = checkLine(line, LineSource::File);
        if (check.ok())
            prepared.formulas.push_back(std::move(line));
        else
            prepared.unrecognised.push_back({int(i + 1), check.unrecognisedEntry(line), check.reason});
    }
    prepared.finalKind = kind;
    return prepared;
}

Result<AppendReport> appendFormulas(Store& store, const std::vector<ParsedLine>& formulas, AfterAppend after)
{
    AppendReport report;
    for (const ParsedLine& line : formulas) {
        const Category category = *line.category;
        if (std::find(report.tables.begin(), report.tables.end(), category) == report.tables.end())
            report.tables.push_back(category);
        if (Status s = FormulaTable(store, category).appendUnnumbered(line.kind, line.code, line.text); !s)
            return s.error();
    }
    // Every table that received formulas is numbered again, so none is left with an empty idx.
    for (const Category& category : report.tables) {
        FormulaTable table(store, category);
        if (after == AfterAppend::Renumber) {
            if (Status s = table.renumber(); !s)
                return s.error();
            continue;
        }
        auto before = table.count();
        if (!before)
            return before.error();
        if (Status s = table.rebuild(); !s)
            return s.error();
        auto remaining = table.count();
        if (!remaining)
            return remaining.error();
        report.duplicates += *before - *remaining;
    }
    return report;
}

Result<ImportReport> importFormulaText(Store& store, const QString& text, const FormulaListKey& current)
{
    PreparedLines prepared = prepareFileLines(text, current.kind);

    ImportReport report;
    report.list = {current.category, prepared.finalKind};
    report.unrecognisedFilePath = store.dataDir() + u'/' + QString::fromUtf16(kUnrecognisedFormulasFileName);
    QStringList entries;
    for (const UnrecognisedLine& line : prepared.unrecognised)
        entries << line.entry;
    // Written first: when it cannot be written, the library stays as it was.
    if (Status s = writeFileAtomically(report.unrecognisedFilePath, encodeLines(entries)); !s)
        return s.error();

    auto appended = inTransaction(store.database(),
                                  [&] { return appendFormulas(store, prepared.formulas, AfterAppend::Rebuild); });
    if (!appended)
        return appended.error();

    report.stored = int(prepared.formulas.size());
    report.duplicates = appended->duplicates;
    report.unrecognised = std::move(prepared.unrecognised);
    report.tables = std::move(appended->tables);
    return report;
}

Result<ImportReport> importFormulaFile(Store& store, const QString& path, const FormulaListKey& current)
{
    if (!path.toLower().endsWith(u"txt"))
        return badInput(QStringLiteral("只能读取扩展名为 txt 的公式文本文件，而不是 %1").arg(path));
    auto bytes = readFileBytes(path);
    if (!bytes)
        return bytes.error();
    return importFormulaText(store, decodeText(*bytes), current);
}

}  // namespace qeltaro
