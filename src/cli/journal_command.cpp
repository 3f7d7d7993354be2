// qeltaro-cli journal list | clear: the recorded next-period calculations and how they fared.

#include "calculation_options.h"

#include "aggregate/err_window_rows.h"
#include "prediction_output.h"
#include "predictions/prediction_journal.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct JournalOptions {
    std::string category;
    std::string kind;
};

QString methodWord(CalculationMethod method)
{
    return method == CalculationMethod::Best ? QStringLiteral("最优公式法") : QStringLiteral("计算选中公式");
}

QString slotCaption(const Category& category, int slot)
{
    return slot == 0 ? category.caption() : errWindowTabCaption(slot);
}

int listJournal(Context& context, const JournalOptions& o)
{
    std::optional<Category> category;
    if (!o.category.empty()) {
        auto parsed = parseCategory(o.category);
        if (!parsed)
            return context.fail(parsed.error());
        category = *parsed;
    }
    std::optional<bool> kill;
    if (!o.kind.empty()) {
        auto parsed = parseKind(o.kind);
        if (!parsed)
            return context.fail(parsed.error());
        kill = *parsed;
    }
    auto store = context.store();
    if (!store)
        return context.fail(store.error());
    auto report = readJournal(**store, category, kill);
    if (!report)
        return context.fail(report.error());

    if (context.json) {
        QJsonArray entries;
        for (const JournalEntry& entry : report->entries) {
            QJsonArray slotArray;
            for (const JournalSlot& slot : entry.slotResults)
                slotArray.append(slotOutcomeJson(slot.slot, slot.kept, slot.outcome));
            entries.append(QJsonObject{
                {QStringLiteral("period"), entry.period},
                {QStringLiteral("category"), entry.category.suffix()},
                {QStringLiteral("kind"), entry.kill ? QStringLiteral("kill") : QStringLiteral("keep")},
                {QStringLiteral("method"), entry.method == CalculationMethod::Best ? QStringLiteral("best") : QStringLiteral("selected")},
                {QStringLiteral("settings"), entry.settings},
                {QStringLiteral("formulas"), entry.formulaCount},
                {QStringLiteral("recorded"), entry.recordedAt},
                {QStringLiteral("slots"), slotArray}});
        }
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("entries"), entries},
                                                    {QStringLiteral("summary"), predictionSummaryJson(report->summary)}}));
        return kSuccess;
    }
    if (report->entries.empty()) {
        context.print(QStringLiteral("预测记录为空：每次“计算公式”（或 qeltaro-cli calc）计算下期时记录一条"));
        return kSuccess;
    }
    context.print(QStringLiteral("期号\t种类\t方法\t位置\t保留号码\t开奖号码\t结果\t随机概率"));
    for (const JournalEntry& entry : report->entries) {
        for (const JournalSlot& slot : entry.slotResults) {
            context.print(QStringLiteral("%1\t%2%3\t%4\t%5\t%6\t%7\t%8\t%9")
                              .arg(entry.period, entry.category.caption(), kindWord(entry.kill), methodWord(entry.method),
                                   slotCaption(entry.category, slot.slot), keptDigitsText(slot.kept), slot.outcome.drawn,
                                   outcomeWord(slot.outcome), chanceText(slot.outcome.chance)));
        }
    }
    for (const JournalGroup& group : report->groups) {
        context.print(QStringLiteral("[%1%2] %3条记录，%4")
                          .arg(group.category.caption(), kindWord(group.kill))
                          .arg(group.entries)
                          .arg(predictionSummaryText(group.summary)));
    }
    context.print(QStringLiteral("合计：%1").arg(predictionSummaryText(report->summary)));
    context.print(predictionVerdict(report->summary));
    return kSuccess;
}

}  // namespace

void addJournalCommands(CLI::App& app, Context& context)
{
    CLI::App* journal = app.add_subcommand("journal", "the recorded next-period calculations and their results (预测记录)");
    journal->require_subcommand(1);
    auto o = std::make_shared<JournalOptions>();
    CLI::App* list = journal->add_subcommand("list", "every recorded calculation, judged against the draws that came");
    list->add_option("--category", o->category, "only this category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    list->add_option("--kind", o->kind, "only kill or keep");
    setAction(list, [&context, o] { return listJournal(context, *o); });

    CLI::App* clear = journal->add_subcommand("clear", "delete every recorded calculation");
    setAction(clear, [&context] {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto cleared = clearJournal(**store);
        if (!cleared)
            return context.fail(cleared.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("cleared"), *cleared}}));
        else
            context.print(QStringLiteral("已清空预测记录（%1条）").arg(*cleared));
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
