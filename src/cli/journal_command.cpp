// qeltaro-cli journal list | clear: the recorded next-period calculations and how they fared.

#include "calculation_options.h"

#include "prediction_output.h"
#include "predictions/prediction_journal.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

// --category and --kind, each optional: the entries of that category or kind only.
struct JournalOptions {
    std::string categoryText;
    std::string kindText;
    std::optional<Category> category;
    std::optional<Kind> kind;

    void bind(CLI::App* command)
    {
        command->add_option("--category", categoryText, "only this category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
        command->add_option("--kind", kindText, "only kill or keep");
    }
    Status read()
    {
        if (!categoryText.empty()) {
            auto parsed = parseCategory(categoryText);
            if (!parsed)
                return parsed.error();
            category = *parsed;
        }
        if (!kindText.empty()) {
            auto parsed = parseKind(kindText);
            if (!parsed)
                return parsed.error();
            kind = *parsed;
        }
        return success();
    }
};

QJsonObject entryJson(const JournalEntry& entry)
{
    QJsonObject json{
        {QStringLiteral("period"), entry.period},
        {QStringLiteral("category"), entry.category.suffix()},
        {QStringLiteral("kind"), kindName(entry.kind)},
        {QStringLiteral("method"), entry.method == CalculationMethod::Best ? QStringLiteral("best") : QStringLiteral("selected")},
        {QStringLiteral("settings"), entry.settings},
        {QStringLiteral("formulas"), entry.formulaCount},
        {QStringLiteral("recorded"), entry.recordedAt},
        {QStringLiteral("slots"), slotOutcomesJson(entry.slotResults)}};
    if (entry.money)
        json.insert(QStringLiteral("money"), predictionMoneyJson(*entry.money));
    return json;
}

class JournalListReport : public Report {
public:
    explicit JournalListReport(JournalReport journal) : journal_(std::move(journal)) {}

    void writeText(TextOut& out) const override
    {
        if (journal_.entries.empty()) {
            out.line(QStringLiteral("预测记录为空：每次“计算公式”（或 qeltaro-cli calc）计算下期时记录一条"));
            return;
        }
        writePredictionRows(out, journalRows(journal_));
        out.lines(journalSummaryLines(journal_));
    }

    void writeJson(JsonOut& out) const override
    {
        out.beginObject();
        out.key(QStringLiteral("entries")).beginArray();
        for (const JournalEntry& entry : journal_.entries)
            out.value(entryJson(entry));
        out.endArray();
        out.member(QStringLiteral("summary"), predictionSummaryJson(journal_.summary, journal_.money));
        out.endObject();
    }

private:
    JournalReport journal_;
};

Outcome list(Context&, Store& store, const JournalOptions& o)
{
    auto report = readJournal(store, o.category, o.kind);
    if (!report)
        return report.error();
    return makeReport<JournalListReport>(std::move(*report));
}

Outcome clear(Context&, Store& store, const NoOptions&)
{
    auto cleared = clearJournal(store);
    if (!cleared)
        return cleared.error();
    return answer({QStringLiteral("已清空预测记录（%1条）").arg(*cleared)}, QJsonObject{{QStringLiteral("cleared"), *cleared}});
}

}  // namespace

void addJournalCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "journal", "the recorded next-period calculations and their results (预测记录)",
                    {{"list", "every recorded calculation, judged against the draws that came", list},
                     {"clear", "delete every recorded calculation", clear}});
}

}  // namespace qeltaro::cli
