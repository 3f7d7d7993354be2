// qeltaro-cli formula translate | add | import | update | list | delete | clear-all | export

#include "cli_context.h"
#include "formula_choice.h"

#include "domain/formula_selection.h"
#include "domain/parameter_catalogue.h"
#include "export/formula_text_export.h"
#include "history/draw_history.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "library/formula_update.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

QString listCaption(const FormulaListKey& list)
{
    return list.category.caption() + (isKill(list.kind) ? QStringLiteral("杀") : QStringLiteral("生"));
}

QJsonArray tablesJson(const std::vector<Category>& tables)
{
    QJsonArray array;
    for (const Category& c : tables)
        array.append(c.suffix());
    return array;
}

// The list a command starts on when it names only a kind: the start-up category 一星直选.
FormulaListKey startingList(Kind kind)
{
    return FormulaListKey{Category::all().front(), kind};
}

struct TranslateOptions {
    std::string text;
    void bind(CLI::App* command) { command->add_option("TEXT", text, "formula text, e.g. 和个位+个位码")->required(); }
};

Outcome translate(Context&, const TranslateOptions& o)
{
    const QString code = translateToCode(fromStd(o.text));
    return answer({code}, QJsonObject{{QStringLiteral("text"), fromStd(o.text)}, {QStringLiteral("code"), code}});
}

struct AddOptions {
    std::string text;
    KindOption kind;
    void bind(CLI::App* command)
    {
        command->add_option("TEXT", text, "formula line: statement (…=下期杀三星直选) or header ([三星直选]…)")->required();
        kind.bind(command, "kind a header line ([三星直选]…) takes: kill or keep");
    }
    Status read() { return kind.read(); }
};

Outcome add(Context&, Store& store, const AddOptions& o)
{
    auto added = addTypedFormula(store, fromStd(o.text), startingList(o.kind.kind));
    if (!added)
        return added.error();
    return answer({QStringLiteral("已添加到%1公式，序号%2（idx %3）：%4")
                       .arg(listCaption(added->list))
                       .arg(added->number)
                       .arg(added->idx)
                       .arg(added->code)},
                  QJsonObject{{QStringLiteral("category"), added->list.category.suffix()},
                              {QStringLiteral("kind"), kindName(added->list.kind)},
                              {QStringLiteral("idx"), added->idx},
                              {QStringLiteral("number"), added->number},
                              {QStringLiteral("code"), added->code},
                              {QStringLiteral("text"), added->text}});
}

constexpr const char* kHeaderKindHelp = "kind header lines take until a statement line sets one: kill or keep";

struct ImportOptions {
    std::string file;
    KindOption kind;
    void bind(CLI::App* command)
    {
        command->add_option("FILE", file, "formula text file (*.txt)")->required();
        kind.bind(command, kHeaderKindHelp);
    }
    Status read() { return kind.read(); }
};

Outcome importFormulas(Context&, Store& store, const ImportOptions& o)
{
    auto report = importFormulaFile(store, fromStd(o.file), startingList(o.kind.kind));
    if (!report)
        return report.error();
    QStringList lines{formulaImportSummary(*report)};
    if (!report->unrecognised.empty())
        lines << QStringLiteral("无法识别的公式已写入 %1").arg(report->unrecognisedFilePath);
    QJsonArray unrecognised;
    for (const UnrecognisedLine& line : report->unrecognised)
        unrecognised.append(QJsonObject{{QStringLiteral("line"), line.lineNumber},
                                        {QStringLiteral("entry"), line.entry},
                                        {QStringLiteral("reason"), line.reason}});
    return answer(lines, QJsonObject{{QStringLiteral("stored"), report->stored},
                                     {QStringLiteral("duplicates"), report->duplicates},
                                     {QStringLiteral("unrecognised"), unrecognised},
                                     {QStringLiteral("unrecognisedFile"), report->unrecognisedFilePath},
                                     {QStringLiteral("tables"), tablesJson(report->tables)},
                                     {QStringLiteral("kind"), kindName(report->list.kind)}});
}

struct UpdateOptions {
    std::string urlText;
    KindOption kind;
    QString url;
    void bind(CLI::App* command)
    {
        command->add_option("--url", urlText, "address of the formula file instead of the setting FormulaUrl");
        kind.bind(command, kHeaderKindHelp);
    }
    Status read(Context& context)
    {
        if (Status s = kind.read(); !s)
            return s;
        url = urlText.empty() ? context.settings().formulaUrl() : fromStd(urlText);
        if (url.trimmed().isEmpty())
            return badInput(formulaUrlMissingMessage() + QStringLiteral("：请用 settings set FormulaUrl 地址 设置，或给出 --url"));
        if (!isHttpAddress(url.trimmed()))
            return badInput(QStringLiteral("公式文件地址“%1”无效：应以 http:// 或 https:// 开头").arg(url));
        return success();
    }
};

Outcome update(Context&, Store& store, const UpdateOptions& o)
{
    auto report = updateFormulasOnline(store, o.url, startingList(o.kind.kind));
    if (!report)
        return report.error();
    return answer({QStringLiteral("公式已更新：读入%1条公式，跳过%2行无法识别的内容（原数据库已备份到 %3）")
                       .arg(report->stored)
                       .arg(report->skipped)
                       .arg(report->backupPath)},
                  QJsonObject{{QStringLiteral("stored"), report->stored},
                              {QStringLiteral("skipped"), report->skipped},
                              {QStringLiteral("bytes"), report->bytes},
                              {QStringLiteral("file"), report->savedPath},
                              {QStringLiteral("backup"), report->backupPath},
                              {QStringLiteral("tables"), tablesJson(report->tables)},
                              {QStringLiteral("kind"), kindName(report->list.kind)}});
}

constexpr const char* kSuffixesHelp = "1D 2D 3D 4D 5D 2G 3G 4G 5G";

struct ListFormulasOptions {
    ListOptions list;
    void bind(CLI::App* command)
    {
        list.kindText = "kill";
        command->add_option("--category", list.categoryText, kSuffixesHelp)->required();
        command->add_option("--kind", list.kindText, kKindHelp)->capture_default_str();
    }
    Status read() { return list.read(); }
};

// The formulas of one list in idx order, a line or an array element each, with the 序号 the
// window's list shows beside the idx.
class FormulasReport : public Report {
public:
    explicit FormulasReport(std::vector<StoredFormula> formulas) : formulas_(std::move(formulas)) {}
    void writeText(TextOut& out) const override
    {
        int number = 0;
        for (const StoredFormula& f : formulas_)
            out.line(QStringLiteral("%1\t%2\t%3\t%4").arg(f.idx).arg(++number).arg(f.code, f.text));
    }
    void writeJson(JsonOut& out) const override
    {
        out.beginArray();
        int number = 0;
        for (const StoredFormula& f : formulas_)
            out.value(QJsonObject{{QStringLiteral("idx"), f.idx},
                                  {QStringLiteral("number"), ++number},
                                  {QStringLiteral("kill"), isKill(f.kind)},
                                  {QStringLiteral("code"), f.code},
                                  {QStringLiteral("text"), f.text}});
        out.endArray();
    }

private:
    std::vector<StoredFormula> formulas_;
};

Outcome listFormulas(Context&, Store& store, const ListFormulasOptions& o)
{
    auto formulas = listFormulas(store, o.list.key());
    if (!formulas)
        return formulas.error();
    return makeReport<FormulasReport>(std::move(*formulas));
}

struct DeleteOptions {
    ListOptions list;
    FormulaChoice formula;
    bool keepFlags = false;
    std::string selected;
    std::optional<QString> missing() const { return formula.missing(); }
    void bind(CLI::App* command)
    {
        list.bind(command, kSuffixesHelp);
        formula.bind(command);
        command->add_flag("--keep-flags", keepFlags,
                          "each idx keeps its selection flag (删除最后公式) instead of every formula keeping its own (删除该公式)");
        command->add_option("--selected", selected,
                            "the selected formulas before the delete, e.g. 1,3,5 (default: all, as after listing)");
    }
    Status read() { return list.read(); }
};

// "1,3,5" (blanks allowed) into idx numbers.
Result<std::vector<int>> parseIdxList(const std::string& text)
{
    std::vector<int> idxs;
    for (const QString& part : fromStd(text).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int idx = part.trimmed().toInt(&ok);
        if (!ok || idx < 1)
            return badInput(QStringLiteral("--selected 应为以逗号分隔的公式序号，例如 1,3,5，而不是“%1”").arg(fromStd(text)));
        idxs.push_back(idx);
    }
    return idxs;
}

Outcome deleteOne(Context&, Store& store, const DeleteOptions& o)
{
    const FormulaListKey key = o.list.key();
    auto listed = listedIdx(store, key);
    if (!listed)
        return listed.error();
    FormulaSelection selection;
    if (o.selected.empty()) {
        selection.selectAll(*listed);
    } else {
        auto chosen = parseIdxList(o.selected);
        if (!chosen)
            return chosen.error();
        for (int idx : *chosen)
            selection.set(idx, true);
    }
    int idx = o.formula.idx.value_or(0);
    if (o.formula.number) {
        auto formulas = listFormulas(store, key);
        if (!formulas)
            return formulas.error();
        auto chosen = o.formula.idxAmong(*formulas, listCaption(key));
        if (!chosen)
            return chosen.error();
        idx = *chosen;
    }
    const FlagsAfterDelete flags = o.keepFlags ? FlagsAfterDelete::StayWithNumbers : FlagsAfterDelete::FollowFormulas;
    auto report = deleteFormula(store, key, idx, flags, selection);
    if (!report)
        return report.error();
    auto remaining = listedIdx(store, key);
    if (!remaining)
        return remaining.error();
    QStringList numbers;
    QJsonArray selectedJson;
    for (int idx : selection.selectedAmong(*remaining)) {
        numbers << QString::number(idx);
        selectedJson.append(idx);
    }
    return answer({QStringLiteral("已删除%1条公式，%2共剩%3条；选中的序号：%4")
                       .arg(report->deleted)
                       .arg(key.category.caption())
                       .arg(report->remaining)
                       .arg(numbers.isEmpty() ? QStringLiteral("无") : numbers.join(u' '))},
                  QJsonObject{{QStringLiteral("deleted"), report->deleted},
                              {QStringLiteral("remaining"), report->remaining},
                              {QStringLiteral("selected"), selectedJson}});
}

Outcome clearAll(Context&, Store& store, const NoOptions&)
{
    auto backup = clearAllFormulas(store);
    if (!backup)
        return backup.error();
    return answer({QStringLiteral("已清空所有类别的公式（原数据库已备份到 %1）").arg(*backup)},
                  QJsonObject{{QStringLiteral("backup"), *backup}});
}

struct ExportOptions {
    bool all = false;
    std::string categoryText;
    KindOption kind;
    std::string period;
    std::optional<Category> category;  // none: every category
    void bind(CLI::App* command)
    {
        auto* allFlag = command->add_flag("--all", all, "every category (P期时时彩公式.txt)");
        auto* categoryOption = command->add_option("--category", categoryText, "one category (P期时时彩三星直选杀公式.txt)");
        allFlag->excludes(categoryOption);
        kind.bind(command);
        command->add_option("--period", period, "the period P naming the file (default: the next period)");
    }
    Status read()
    {
        if (!all && categoryText.empty())
            return badInput(QStringLiteral("请给出 --all（所有类别）或 --category 类别"));
        if (Status s = kind.read(); !s)
            return s;
        if (!all) {
            auto parsed = parseCategory(categoryText);
            if (!parsed)
                return parsed.error();
            category = *parsed;
        }
        return success();
    }
};

Outcome exportText(Context&, Store& store, const ExportOptions& o)
{
    QString period = fromStd(o.period);
    if (period.isEmpty()) {
        auto next = DrawHistory(store).nextPeriod(QDate::currentDate());
        if (!next)
            return next.error();
        period = *next;
    }
    auto report = o.category ? exportCategory(store, period, {*o.category, o.kind.kind})
                             : exportAllCategories(store, period, o.kind.kind);
    if (!report)
        return report.error();
    return answer({report->path},
                  QJsonObject{{QStringLiteral("path"), report->path}, {QStringLiteral("formulas"), report->formulas}});
}

}  // namespace

void addFormulaCommands(CLI::App& app, Context& context)
{
    addCommandGroup(
        app, context, "formula", "formula library and formula language",
        {{"translate", "print the code form of a Chinese formula text", translate},
         {"add", "add one formula typed in Chinese, e.g. 万位码+千位码=下期杀一星直选", add},
         {"import", "read a formula text file (UTF-8 or GB18030) into the library", importFormulas},
         {"update", "replace the formulas of every category by the formula file at FormulaUrl (a backup is kept)", update},
         {"list", "list the formulas of one category and kind in idx order", listFormulas},
         {"delete", "delete one formula of a category and kind, then compact and renumber", deleteOne},
         {"clear-all", "delete the formulas of every category (a backup is kept)", clearAll},
         {"export", "write the formula text file of every category or of one category", exportText}});
}

}  // namespace qeltaro::cli
