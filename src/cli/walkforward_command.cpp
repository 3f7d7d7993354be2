// qeltaro-cli walkforward: the calculation method tested period by period on the history it
// would have had; with --search, the whole method: a search per period, then the calculation.

#include "calculation_options.h"
#include "search_options.h"

#include "method/searched_walk_forward.h"
#include "prediction_output.h"
#include "predictions/walk_forward.h"
#include "search/scheme_settings.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

constexpr int kDefaultSearchedPeriods = 120;  // one day of draws

// --search and what only it reads: the candidates per period and the search's own options.
struct WalkSearchOptions {
    bool search = false;
    std::uint64_t candidates = kDefaultWalkCandidates;
    std::string seed;
    int operands = 0;
    std::string constant = "0";
    std::string form = "prefix";
    std::string thresholds;
    CLI::Option* operandsOption = nullptr;
    // Read from the texts above.
    SearchedWalkOrder order;

    void bind(CLI::App* command)
    {
        auto* flag = command->add_flag("--search", search,
                                       "search every table afresh before each period, then calculate with what was found");
        const auto searchOnly = [&](CLI::Option* option) { option->needs(flag); };
        searchOnly(command->add_option("--candidates", candidates, "with --search: candidates per table and period")
                       ->capture_default_str());
        searchOnly(command->add_option("--seed", seed, "with --search: seed of the candidates (default: a fresh one, printed)"));
        operandsOption = command->add_option("--operands", operands, "with --search: parameters per formula, 2..24 (default: each table's setting)");
        searchOnly(operandsOption);
        searchOnly(command->add_option("--constant", constant, "with --search: tail constant, a number or random")->capture_default_str());
        searchOnly(command->add_option("--form", form, "with --search: prefix or suffix")->capture_default_str());
        searchOnly(command->add_option("--thresholds", thresholds,
                                       "with --search: ten numbers t0,...,t9 for every table (default: each table's setting)"));
        for (const char* calculationOnly : {"--select", "--select-numbers"})
            flag->excludes(command->get_option(calculationOnly));
    }
    Status read()
    {
        if (!search)
            return success();
        auto parsedConstant = parseConstantOption(constant);
        auto parsedForm = parseFormOption(form);
        auto parsedSeed = seedOption(seed);
        if (auto error = firstError(parsedConstant, parsedForm, parsedSeed))
            return *error;
        if (candidates < 1)
            return badInput(QStringLiteral("--candidates 应为正整数"));
        order.request.candidates = candidates;
        order.request.constant = *parsedConstant;
        order.request.form = *parsedForm;
        order.request.seed = *parsedSeed;
        return readOperandsAndThresholds(operandsOption, operands, thresholds, order.operandCount, order.thresholds);
    }
};

struct WalkForwardOptions {
    ListOptions list;
    int periods = 0;
    int threads = 0;
    CalculationOptions calculation;
    WindowOptions window;
    WalkSearchOptions searching;
    CLI::Option* periodsOption = nullptr;

    void bind(CLI::App* command)
    {
        list.bind(command);
        periodsOption = command->add_option("--periods", periods,
                                            "the newest periods to test, each on the history before it (with --search: default 120)");
        command->add_option("--threads", threads, "worker threads (0: one per processor core)")->capture_default_str();
        calculation.bind(command, "best method: three keys KEY[:asc|desc],KEY,KEY (default sglGsRate,intGsTrueCon,intGsTrueLst)");
        window.bind(command);
        searching.bind(command);
    }
    std::optional<QString> missing() const
    {
        if (searching.search || periodsOption->count() > 0)
            return std::nullopt;
        return QStringLiteral("walkforward 需要 --periods（或 --search）");
    }
    Status read(Context& context)
    {
        if (Status s = list.read(); !s)
            return s;
        if (Status s = window.read(context); !s)
            return s;
        if (threads < 0)
            return badInput(QStringLiteral("--threads 应为正整数（0 = 每个处理器核心一个）"));
        if (periodsOption->count() == 0)
            periods = kDefaultSearchedPeriods;
        if (Status s = searching.read(); !s)
            return s;
        return calculation.read(context);
    }
};

// Each tested period with its judged slots, then the summary.
class WalkForwardReport : public Report {
public:
    // `searched`: the walk with a search per period.
    WalkForwardReport(WalkForwardResult result, WalkForwardRequest request,
                      std::optional<SearchedWalkRequest> searched = std::nullopt)
        : result_(std::move(result)), request_(std::move(request)), searched_(std::move(searched))
    {
    }

    void writeText(TextOut& out) const override
    {
        QString heading = QStringLiteral("%1 历史模拟检验%4 最新%2期 %3")
                              .arg(predictionKindText(request_.category, request_.kind))
                              .arg(result_.periods.size())
                              .arg(calculationMethodWord(request_.method))
                              .arg(searched_ ? QStringLiteral("（含公式搜索，每期每表%1条）").arg(searched_->candidates)
                                             : QString());
        if (request_.method == CalculationMethod::Best)
            heading += QStringLiteral("（排序：%1；保留个数限额%2）")
                           .arg(sortKeysText(request_.sort.choices()))
                           .arg(request_.sort.keepLimit);
        out.line(heading);
        writePredictionRows(out, walkForwardRows(result_, request_));
        if (searched_)
            out.line(searchedWalkLine(result_) + QStringLiteral("；种子%1").arg(searched_->seed));
        out.line(predictionSummaryLine(result_.summary));
        out.line(predictionVerdict(result_.summary));
        out.line(moneySummaryLine(result_.money, result_.prizes));
    }

    void writeJson(JsonOut& out) const override
    {
        out.beginObject();
        if (searched_)
            out.member(QStringLiteral("candidates"), qint64(searched_->candidates));
        out.key(QStringLiteral("periods")).beginArray();
        for (const WalkForwardPeriod& period : result_.periods) {
            QJsonObject json{{QStringLiteral("period"), period.period},
                             {QStringLiteral("slots"), slotOutcomesJson(period.slotResults)},
                             {QStringLiteral("money"), predictionMoneyJson(period.money)}};
            // A search that found nothing for one of the tables leaves the bet incomplete.
            if (searched_ && period.slotResults.size() != (request_.category.group ? 1u : size_t(request_.category.positions)))
                json.insert(QStringLiteral("money"), QJsonValue());
            if (period.found)
                json.insert(QStringLiteral("found"), *period.found);
            out.value(json);
        }
        out.endArray();
        QJsonObject summary = predictionSummaryJson(result_.summary, result_.money);
        if (searched_) {
            summary.insert(QStringLiteral("no_prediction"), result_.noPrediction);
            out.member(QStringLiteral("seed"), QString::number(searched_->seed));
        }
        out.member(QStringLiteral("summary"), summary);
        out.endObject();
    }

private:
    WalkForwardResult result_;
    WalkForwardRequest request_;
    std::optional<SearchedWalkRequest> searched_;
};

// The walk with a search per period: the formulas come from the searches, not the tables.
Outcome searchedWalkCommand(Context& context, Store& store, const WalkForwardOptions& o)
{
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    SearchedWalkOrder order = o.searching.order;
    WalkForwardRequest& walk = order.request.walk;
    walk.category = o.list.category;
    walk.kind = o.list.kind;
    walk.method = o.calculation.method;
    walk.sort = o.calculation.sort;
    walk.periods = o.periods;
    walk.window = o.window.settings;
    walk.threads = o.threads;
    const SchemeSettings settings(context.settings());
    auto plan = planSearchedWalk(store, settings, order);
    if (!plan)
        return plan.error();
    Result<WalkForwardResult> walked = Error{};
    {
        TerminalProgress progress;
        walked = walkForwardWithSearch(*plan, *history, &progress);
    }
    if (!walked)
        return walked.error();
    return makeReport<WalkForwardReport>(std::move(*walked), plan->request.walk, plan->request);
}

Outcome walkForwardCommand(Context& context, Store& store, const WalkForwardOptions& o)
{
    if (o.searching.search)
        return searchedWalkCommand(context, store, o);
    CalculationRequest calculation;
    auto selected = loadCalculationRequest(store, o.list, o.calculation, calculation);
    if (!selected)
        return selected.error();
    WalkForwardRequest request = walkForwardOf(calculation);
    request.periods = o.periods;
    request.window = o.window.settings;
    request.threads = o.threads;
    auto walked = walkForward(store, selected->history, request);
    if (!walked)
        return walked.error();
    printWarnings(walked->problems);
    return makeReport<WalkForwardReport>(std::move(*walked), std::move(request));
}

}  // namespace

void addWalkForwardCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("walkforward",
                                       "test the calculation period by period on the history before each period (历史模拟检验)"),
                    context, walkForwardCommand);
}

}  // namespace qeltaro::cli
