// qeltaro-cli formula translate | add | import | update | list | delete | clear-all | export

#include "cli_context.h"

#include "export/formula_text_export.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "domain/formula_selection.h"
#include "library/formula_update.h"
#include "domain/parameter_catalogue.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct FormulaOptions {
    std::string text;
    std::string file;
    std::string url;
    std::string category;
    std::string kind = "kill";
    int idx = 0;
    bool keepFlags = false;
    std::string selected;
    bool all = false;
    std::string period;
};

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

QJsonArray idxJson(const std::vector<int>& idxs)
{
    QJsonArray array;
    for (int idx : idxs)
        array.append(idx);
    return array;
}

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

// The category and kind given as options.
Result<FormulaListKey> listOption(const FormulaOptions& options)
{
    auto category = parseCategory(options.category);
    if (!category)
        return category.error();
    auto kind = parseKind(options.kind);
    if (!kind)
        return kind.error();
    return FormulaListKey{*category, *kind};
}

// The list a command starts on when it names only a kind: the start-up category 一星直选.
Result<FormulaListKey> startingList(const FormulaOptions& options)
{
    auto kind = parseKind(options.kind);
    if (!kind)
        return kind.error();
    return FormulaListKey{Category::all().front(), *kind};
}

}  // namespace

void addFormulaCommands(CLI::App& app, Context& context)
{
    auto text = std::make_shared<std::string>();
    auto options = std::make_shared<FormulaOptions>();
    CLI::App* formula = app.add_subcommand("formula", "formula library and formula language");
    formula->require_subcommand(1);

    CLI::App* translate = formula->add_subcommand("translate", "print the code form of a Chinese formula text");
    translate->add_option("TEXT", *text, "formula text, e.g. 和个位+个位码")->required();
    setAction(translate, [&context, text] {
        const QString code = translateToCode(fromStd(*text));
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("text"), fromStd(*text)},
                                                        {QStringLiteral("code"), code}}));
        else
            context.print(code);
        return int(kSuccess);
    });

    CLI::App* add = formula->add_subcommand("add", "add one formula typed in Chinese, e.g. 万位码+千位码=下期杀一星直选");
    add->add_option("TEXT", options->text, "formula line: statement (…=下期杀三星直选) or header ([三星直选]…)")->required();
    add->add_option("--kind", options->kind, "kind a header line ([三星直选]…) takes: kill or keep")->capture_default_str();
    setAction(add, [&context, options] {
        auto start = startingList(*options);
        if (!start)
            return context.fail(start.error());
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto added = addTypedFormula(**store, fromStd(options->text), *start);
        if (!added)
            return context.fail(added.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("category"), added->list.category.suffix()},
                                                        {QStringLiteral("kind"), kindName(added->list.kind)},
                                                        {QStringLiteral("idx"), added->idx},
                                                        {QStringLiteral("code"), added->code},
                                                        {QStringLiteral("text"), added->text}}));
        else
            context.print(QStringLiteral("已添加到%1公式，序号%2：%3").arg(listCaption(added->list)).arg(added->idx).arg(added->code));
        return int(kSuccess);
    });

    CLI::App* import = formula->add_subcommand("import", "read a formula text file (UTF-8 or GB18030) into the library");
    import->add_option("FILE", options->file, "formula text file (*.txt)")->required();
    import->add_option("--kind", options->kind, "kind header lines take until a statement line sets one: kill or keep")->capture_default_str();
    setAction(import, [&context, options] {
        auto start = startingList(*options);
        if (!start)
            return context.fail(start.error());
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto report = importFormulaFile(**store, fromStd(options->file), *start);
        if (!report)
            return context.fail(report.error());
        if (context.json) {
            QJsonArray unrecognised;
            for (const UnrecognisedLine& line : report->unrecognised)
                unrecognised.append(QJsonObject{{QStringLiteral("line"), line.lineNumber},
                                                {QStringLiteral("entry"), line.entry},
                                                {QStringLiteral("reason"), line.reason}});
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("stored"), report->stored},
                                                        {QStringLiteral("duplicates"), report->duplicates},
                                                        {QStringLiteral("unrecognised"), unrecognised},
                                                        {QStringLiteral("unrecognisedFile"), report->unrecognisedFilePath},
                                                        {QStringLiteral("tables"), tablesJson(report->tables)},
                                                        {QStringLiteral("kind"), kindName(report->list.kind)}}));
        } else {
            context.print(QStringLiteral("读入%1条公式（其中%2条与已有公式重复，已去除），%3行无法识别")
                              .arg(report->stored)
                              .arg(report->duplicates)
                              .arg(report->unrecognised.size()));
            if (!report->unrecognised.empty())
                context.print(QStringLiteral("无法识别的公式已写入 %1").arg(report->unrecognisedFilePath));
        }
        return int(kSuccess);
    });

    CLI::App* update = formula->add_subcommand(
        "update", "replace the formulas of every category by the formula file at FormulaUrl (a backup is kept)");
    update->add_option("--url", options->url, "address of the formula file instead of the setting FormulaUrl");
    update->add_option("--kind", options->kind, "kind header lines take until a statement line sets one: kill or keep")->capture_default_str();
    setAction(update, [&context, options] {
        auto start = startingList(*options);
        if (!start)
            return context.fail(start.error());
        const QString url = options->url.empty() ? context.settings().formulaUrl() : fromStd(options->url);
        if (url.trimmed().isEmpty())
            return context.fail(badInput(formulaUrlMissingMessage() + QStringLiteral("：请用 settings set FormulaUrl 地址 设置，或给出 --url")));
        if (!isHttpAddress(url.trimmed()))
            return context.fail(badInput(QStringLiteral("公式文件地址“%1”无效：应以 http:// 或 https:// 开头").arg(url)));
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto report = updateFormulasOnline(**store, url, *start);
        if (!report)
            return context.fail(report.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("stored"), report->stored},
                                                        {QStringLiteral("skipped"), report->skipped},
                                                        {QStringLiteral("bytes"), report->bytes},
                                                        {QStringLiteral("file"), report->savedPath},
                                                        {QStringLiteral("backup"), report->backupPath},
                                                        {QStringLiteral("tables"), tablesJson(report->tables)},
                                                        {QStringLiteral("kind"), kindName(report->list.kind)}}));
        else
            context.print(QStringLiteral("公式已更新：读入%1条公式，跳过%2行无法识别的内容（原数据库已备份到 %3）")
                              .arg(report->stored)
                              .arg(report->skipped)
                              .arg(report->backupPath));
        return int(kSuccess);
    });

    CLI::App* list = formula->add_subcommand("list", "list the formulas of one category and kind in idx order");
    list->add_option("--category", options->category, "1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    list->add_option("--kind", options->kind, "kill or keep")->capture_default_str();
    setAction(list, [&context, options] {
        auto key = listOption(*options);
        if (!key)
            return context.fail(key.error());
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto formulas = FormulaTable(**store, key->category).list(key->kind);
        if (!formulas)
            return context.fail(formulas.error());
        if (context.json) {
            QJsonArray array;
            for (const StoredFormula& f : *formulas)
                array.append(QJsonObject{{QStringLiteral("idx"), f.idx},
                                         {QStringLiteral("kill"), isKill(f.kind)},
                                         {QStringLiteral("code"), f.code},
                                         {QStringLiteral("text"), f.text}});
            context.printJson(QJsonDocument(array));
        } else {
            for (const StoredFormula& f : *formulas)
                context.print(QStringLiteral("%1\t%2\t%3").arg(f.idx).arg(f.code, f.text));
        }
        return int(kSuccess);
    });

    CLI::App* remove = formula->add_subcommand("delete", "delete one formula of a category and kind, then compact and renumber");
    remove->add_option("--category", options->category, "1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    remove->add_option("--kind", options->kind, "kill or keep")->required();
    remove->add_option("--idx", options->idx, "the formula's idx (as formula list shows it)")->required();
    remove->add_flag("--keep-flags", options->keepFlags,
                     "each idx keeps its selection flag (删除最后公式) instead of every formula keeping its own (删除该公式)");
    remove->add_option("--selected", options->selected,
                       "the selected formulas before the delete, e.g. 1,3,5 (default: all, as after listing)");
    setAction(remove, [&context, options] {
        auto key = listOption(*options);
        if (!key)
            return context.fail(key.error());
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto listed = listedIdx(**store, *key);
        if (!listed)
            return context.fail(listed.error());
        FormulaSelection selection;
        if (options->selected.empty()) {
            selection.selectAll(*listed);
        } else {
            auto chosen = parseIdxList(options->selected);
            if (!chosen)
                return context.fail(chosen.error());
            for (int idx : *chosen)
                selection.set(idx, true);
        }
        const FlagsAfterDelete flags = options->keepFlags ? FlagsAfterDelete::StayWithNumbers : FlagsAfterDelete::FollowFormulas;
        auto report = deleteFormula(**store, *key, options->idx, flags, selection);
        if (!report)
            return context.fail(report.error());
        auto remaining = listedIdx(**store, *key);
        if (!remaining)
            return context.fail(remaining.error());
        const std::vector<int> selected = selection.selectedAmong(*remaining);
        if (context.json) {
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("deleted"), report->deleted},
                                                        {QStringLiteral("remaining"), report->remaining},
                                                        {QStringLiteral("selected"), idxJson(selected)}}));
        } else {
            QStringList numbers;
            for (int idx : selected)
                numbers << QString::number(idx);
            context.print(QStringLiteral("已删除%1条公式，%2共剩%3条；选中的序号：%4")
                              .arg(report->deleted)
                              .arg(key->category.caption())
                              .arg(report->remaining)
                              .arg(numbers.isEmpty() ? QStringLiteral("无") : numbers.join(u' ')));
        }
        return int(kSuccess);
    });

    CLI::App* clearAll = formula->add_subcommand("clear-all", "delete the formulas of every category (a backup is kept)");
    setAction(clearAll, [&context] {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto backup = clearAllFormulas(**store);
        if (!backup)
            return context.fail(backup.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("backup"), *backup}}));
        else
            context.print(QStringLiteral("已清空所有类别的公式（原数据库已备份到 %1）").arg(*backup));
        return int(kSuccess);
    });

    CLI::App* exportText = formula->add_subcommand("export", "write the formula text file of every category or of one category");
    auto* allFlag = exportText->add_flag("--all", options->all, "every category (P期时时彩公式.txt)");
    auto* categoryOption = exportText->add_option("--category", options->category, "one category (P期时时彩三星直选杀公式.txt)");
    allFlag->excludes(categoryOption);
    exportText->add_option("--kind", options->kind, "kill or keep")->capture_default_str();
    exportText->add_option("--period", options->period, "the period P naming the file (default: the next period)");
    setAction(exportText, [&context, options] {
        if (!options->all && options->category.empty())
            return context.fail(badInput(QStringLiteral("请给出 --all（所有类别）或 --category 类别")));
        auto kind = parseKind(options->kind);
        if (!kind)
            return context.fail(kind.error());
        std::optional<Category> category;
        if (!options->all) {
            auto parsed = parseCategory(options->category);
            if (!parsed)
                return context.fail(parsed.error());
            category = *parsed;
        }
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        QString period = fromStd(options->period);
        if (period.isEmpty()) {
            auto next = DrawHistory(**store).nextPeriod(QDate::currentDate());
            if (!next)
                return context.fail(next.error());
            period = *next;
        }
        auto report = category ? exportCategory(**store, period, {*category, *kind})
                               : exportAllCategories(**store, period, *kind);
        if (!report)
            return context.fail(report.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("path"), report->path},
                                                        {QStringLiteral("formulas"), report->formulas}}));
        else
            context.print(report->path);
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
