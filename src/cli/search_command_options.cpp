#include "search_command_options.h"

#include "search/reality_check.h"
#include "search/search_category.h"
#include "search/search_words.h"

namespace qeltaro::cli {
namespace {

Result<SaveMode> parseSaveMode(const std::string& text)
{
    if (text == "append")
        return SaveMode::Append;
    if (text == "replace")
        return SaveMode::Replace;
    return badInput(QStringLiteral("--save 应为 append（追加）或 replace（更新），而不是“%1”").arg(fromStd(text)));
}

// What the manual search and the scheme read alike from the options.
struct RunOptions {
    TailConstant constant;
    FormulaForm form = FormulaForm::Prefix;
    SearchWindow window;
    std::uint64_t seed = 0;
    std::optional<std::uint64_t> maxCandidates;
    int threads = 0;
    int holdoutPeriods = 0;
    bool shuffledControl = true;

    void applyTo(SearchRequest& request) const
    {
        applyShared(request);
        request.shape.constant = constant;
        request.shape.form = form;
        request.maxCandidates = maxCandidates;
    }
    void applyTo(SchemeRequest& request) const
    {
        applyShared(request);
        request.constant = constant;
        request.form = form;
        request.maxCandidatesPerCategory = maxCandidates;
    }

private:
    // The fields both requests name alike.
    template <typename Request>
    void applyShared(Request& request) const
    {
        request.window = window;
        request.seed = seed;
        request.threads = threads;
        request.holdoutPeriods = holdoutPeriods;
        request.shuffledControl = shuffledControl;
    }
};

}  // namespace

void SearchOptions::bind(CLI::App* search)
{
    auto* categoryOption = search->add_option("--category", category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    search->add_option("--kind", kind, "kill or keep (with --scheme: default kill)");
    search->add_option("--count", count, "stop once this many are found (自动中止)")->capture_default_str();
    maxOption = search->add_option("--max-candidates", maxCandidates,
                                   "evaluate at most this many candidates (with --scheme: per category)");
    operandsOption = search->add_option("--operands", operands, "parameters per formula, 2..24 (default: the category's setting)");
    search->add_option("--constant", constant, "tail constant: a number or random")->capture_default_str();
    search->add_option("--form", form, "prefix ([三星直选杀]A+B) or suffix (A+B=下期杀三星直选)")->capture_default_str();
    search->add_option("--thresholds", thresholds, "ten numbers t0,...,t9 (default: the category's setting; see search-settings)");
    search->add_option("--seed", seed, "seed of the random candidates (default: a fresh one, printed)");
    search->add_option("--threads", threads, "worker threads (0: one per processor core)")->capture_default_str();
    search->add_option("--save", save, "append or replace: store the found formulas (公式追加/更新到数据库)");
    search->add_flag("--export", exportText, "write the found formulas to P期时时彩公式.txt (公式中文导出)");
    auto* schemeFlag = search->add_flag("--scheme", scheme, "search every category by the wanted counts (搜索方案)");
    search->add_option("--wanted", wanted, "with --scheme: wanted counts, e.g. 1D=60,3G=30 (default: the setting)");
    search->add_option("--mode", mode, "with --scheme: add (公式新增数量) or hold (公式保有数量)")->capture_default_str();
    auto* replayOption = search->add_option("--replay-run", replayRun, "repeat a recorded run (search-runs/*.json)");
    search->add_option("--holdout", holdout,
                       "hold out the newest K periods (120 = one day): screen on the history before them, then "
                       "score each found formula on them");
    search->add_flag("--no-control", noControl, "skip screening the candidates on a shuffled history too (真实/打乱历史通过率)");
    realityOption = search->add_option("--reality-check", realityCopies,
                                       "then run the same search on B shuffled copies of the history (B = 19 is usual): "
                                       "is the best formula better than the best of luck? (检验最优公式是否只是运气)");
    window.addTo(search);
    schemeFlag->excludes(categoryOption);
    replayOption->excludes(categoryOption)->excludes(schemeFlag)->excludes(realityOption);
}

std::optional<QString> SearchOptions::missing() const
{
    if (!replayRun.empty() || scheme || (!category.empty() && !kind.empty()))
        return std::nullopt;
    return QStringLiteral("search 需要 --category 和 --kind（或 --scheme、--replay-run）");
}

Status SearchOptions::read(Context& context)
{
    searchMode = !replayRun.empty() ? SearchMode::Replay : scheme ? SearchMode::Scheme : SearchMode::Manual;
    if (searchMode == SearchMode::Replay) {
        auto record = readRunRecord(fromStd(replayRun));
        if (!record)
            return record.error();
        replay = std::move(*record);
        return success();
    }
    if (Status s = searchMode == SearchMode::Scheme ? readScheme() : readManual(); !s)
        return s;
    return readRunOptions(context);
}

Status SearchOptions::readManual()
{
    auto number = parseSearchCategory(category);
    if (!number)
        return number.error();
    auto parsedKind = parseKind(kind);
    if (!parsedKind)
        return parsedKind.error();
    SearchRequest& request = manualOrder.request;
    request.shape.category = *categoryOfSearchNumber(*number);
    request.shape.kind = *parsedKind;
    if (Status s = readOperandsAndThresholds(operandsOption, operands, thresholds, manualOrder.operandCount,
                                             manualOrder.thresholds);
        !s)
        return s;
    if (count < 0)
        return badInput(QStringLiteral("--count 应为非负整数"));
    request.stopCount = count;
    return success();
}

Status SearchOptions::readScheme()
{
    auto parsedKind = parseKind(kind.empty() ? std::string("kill") : kind);
    if (!parsedKind)
        return parsedKind.error();
    SchemeRequest& request = schemeOrder.request;
    request.kind = *parsedKind;
    if (!wanted.empty()) {
        auto parsed = parseWantedCounts(wanted);
        if (!parsed)
            return parsed.error();
        schemeOrder.wanted = *parsed;
    }
    const std::optional<CountMode> countMode = countModeFromName(fromStd(mode));
    if (!countMode)
        return badInput(
            QStringLiteral("--mode 应为 add（公式新增数量）或 hold（公式保有数量），而不是“%1”").arg(fromStd(mode)));
    request.mode = *countMode;
    return success();
}

Status SearchOptions::readRunOptions(Context& context)
{
    auto parsedConstant = parseConstantOption(constant);
    auto parsedForm = parseFormOption(form);
    auto parsedWindow = window.resolve(context);
    auto parsedSeed = seedOption(seed);
    if (auto error = firstError(parsedConstant, parsedForm, parsedWindow, parsedSeed))
        return *error;
    if (threads < 0)
        return badInput(QStringLiteral("--threads 应为正整数（0 = 每个处理器核心一个）"));
    if (realityOption->count() > 0 && (realityCopies < 1 || realityCopies > kMaxRealityCopies))
        return badInput(QStringLiteral("--reality-check 应为1到%1之间的整数（打乱历史的份数）").arg(kMaxRealityCopies));
    RunOptions run{*parsedConstant, *parsedForm, *parsedWindow, *parsedSeed, std::nullopt, threads, holdout, !noControl};
    if (maxOption->count() > 0) {
        if (maxCandidates < 1)
            return badInput(QStringLiteral("--max-candidates 应为正整数"));
        run.maxCandidates = maxCandidates;
    }
    if (!save.empty()) {
        auto parsed = parseSaveMode(save);
        if (!parsed)
            return parsed.error();
        saveMode = *parsed;
    }
    run.applyTo(manualOrder.request);
    run.applyTo(schemeOrder.request);
    return success();
}

}  // namespace qeltaro::cli
