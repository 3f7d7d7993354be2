// qeltaro-cli journal list | clear: the recorded next-period calculations and how they fared.

#include "calculation_options.h"

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

int listJournal(Context& context, const JournalOptions& o)
{
    std::optional<Category> category;
    if (!o.category.empty()) {
        auto parsed = parseCategory(o.category);
        if (!parsed)
            return context.fail(parsed.error());
        category = *parsed;
    }
    std::optional<Kind> kind;
    if (!o.kind.empty()) {
        auto parsed = parseKind(o.kind);
        if (!parsed)
            return context.fail(parsed.error());
        kind = *parsed;
    }
    auto store = context.store();
    if (!store)
        return context.fail(store.error());
    auto report = readJournal(**store, category, kind);
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
                {QStringLiteral("kind"), isKill(entry.kind) ? QStringLiteral("kill") : QStringLiteral("keep")},
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
    printPredictionRows(context, journalRows(*report));
    for (const QString& line : journalSummaryLines(*report))
        context.print(line);
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
