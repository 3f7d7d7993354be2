// qeltaro-cli search: the manual search of one category, the scheme search over all nine, and the
// replay of a recorded run.

#include "holdout_output.h"
#include "search_options.h"

#include "history/draw_history.h"
#include "search/formula_search.h"
#include "search/found_formula_export.h"
#include "search/found_formula_save.h"
#include "search/run_record.h"
#include "search/scheme_run.h"
#include "search/search_category.h"
#include "search/search_run.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>

namespace qeltaro::cli {
namespace {

constexpr long long kDefaultStopCount = 50;  // the stop count box's first value

struct SearchOptions {
    std::string category;
    std::string kind;
    long long count = kDefaultStopCount;
    std::uint64_t maxCandidates = 0;
    int operands = 0;
    std::string constant = "0";
    std::string form = "prefix";
    std::string thresholds;
    std::string seed;
    int threads = 0;
    std::string save;
    bool exportText = false;
    bool scheme = false;
    std::string wanted;
    std::string mode = "add";
    std::string replayRun;
    int holdout = 0;
    bool noControl = false;
    SearchWindowOptions window;

    CLI::Option* countOption = nullptr;
    CLI::Option* maxOption = nullptr;
    CLI::Option* operandsOption = nullptr;
};

QString elidedText(const QString& text)
{
    constexpr int kShown = 40;
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("…");
}

double roundedRate(float rate)
{
    return std::round(double(rate) * 10000.0) / 10000.0;
}

QJsonArray foundJson(const std::vector<FoundFormula>& found)
{
    QJsonArray array;
    for (const FoundFormula& f : found) {
        QJsonObject formula{{QStringLiteral("category"), f.category.suffix()},
                            {QStringLiteral("code"), f.code},
                            {QStringLiteral("text"), f.text},
                            {QStringLiteral("rate"), roundedRate(f.stats.rate)},
                            {QStringLiteral("max_miss"), f.stats.maxMissRun},
                            {QStringLiteral("max_hit"), f.stats.maxHitRun},
                            {QStringLiteral("last_miss"), f.stats.lastMissRun},
                            {QStringLiteral("last_hit"), f.stats.lastHitRun}};
        if (f.holdout)
            formula.insert(QStringLiteral("holdout"), holdoutJson(*f.holdout));
        array.append(formula);
    }
    return array;
}

void printFound(Context& context, const std::vector<FoundFormula>& found)
{
    if (found.empty())
        return;
    const bool holdout = found.front().holdout.has_value();
    context.print(QStringLiteral("公式\t正确率\t最大连错\t最大连对\t最后连错\t最后连对") +
                  (holdout ? u'\t' + holdoutHeader() : QString()));
    for (const FoundFormula& f : found) {
        QString line = QStringLiteral("%1\t%2%\t%3\t%4\t%5\t%6")
                           .arg(f.text)
                           .arg(double(f.stats.rate), 0, 'f', 4)
                           .arg(f.stats.maxMissRun)
                           .arg(f.stats.maxHitRun)
                           .arg(f.stats.lastMissRun)
                           .arg(f.stats.lastHitRun);
        if (f.holdout)
            line += u'\t' + holdoutColumns(*f.holdout);
        context.print(line);
    }
}

// The shuffled-history control and the held-out summary, in the answer and on the terminal.
void reportChecks(Context& context, const std::optional<ShuffledControl>& control, int holdoutPeriods,
                  const std::vector<FoundFormula>& found, QJsonObject& answer)
{
    if (control) {
        answer.insert(QStringLiteral("control"),
                      QJsonObject{{QStringLiteral("real_passes"), qint64(control->realPasses)},
                                  {QStringLiteral("shuffled_passes"), qint64(control->shuffledPasses)},
                                  {QStringLiteral("shuffled_copies"), int(control->passesByCopy.size())},
                                  {QStringLiteral("real_pass_rate"), control->realRate()},
                                  {QStringLiteral("shuffled_pass_rate"), control->shuffledRate()},
                                  {QStringLiteral("p_value"), control->pValue},
                                  {QStringLiteral("informative"), control->informative()},
                                  {QStringLiteral("verdict"), shuffledControlVerdict(*control)}});
        if (!context.json) {
            context.print(QStringLiteral("%1 %2（%3条），%4 %5（%6条）")
                              .arg(realPassRateLabel(), passRateText(control->realRate()))
                              .arg(control->realPasses)
                              .arg(shuffledPassRateLabel(), passRateText(control->shuffledRate()))
                              .arg(control->shuffledPasses));
            if (const QString verdict = shuffledControlVerdict(*control); !verdict.isEmpty())
                context.print(verdict);
        }
    }
    if (holdoutPeriods > 0) {
        const auto beating = std::count_if(found.begin(), found.end(),
                                           [](const FoundFormula& f) { return f.holdout && f.holdout->beatsChance; });
        answer.insert(QStringLiteral("holdout_periods"), holdoutPeriods);
        answer.insert(QStringLiteral("holdout_beats_chance"), qint64(beating));
        if (!context.json)
            context.print(QStringLiteral("留出最新%1期检验：找到的%2条公式中%3条在留出期高于随机")
                              .arg(holdoutPeriods)
                              .arg(found.size())
                              .arg(beating));
    }
}


QString speedText(std::uint64_t verified, double seconds, double perSecond)
{
    return QStringLiteral("验证公式%1条，用时%2秒，每秒%3条")
        .arg(verified)
        .arg(seconds, 0, 'f', 2)
        .arg(qint64(std::llround(perSecond)));
}

QString progressText(const SearchProgress& p)
{
    return QStringLiteral("已验证%1条，找到%2条：%3").arg(p.verified).arg(p.found).arg(elidedText(p.currentText));
}

QString progressText(const SchemeProgress& p)
{
    const auto category = categoryOfSearchNumber(p.category);
    return QStringLiteral("%1：已验证%2条，找到%3条（本类%4条）：%5")
        .arg(category ? category->caption() : QString())
        .arg(p.verified)
        .arg(p.found)
        .arg(p.categoryFound)
        .arg(elidedText(p.currentText));
}

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

Result<RunOptions> readRunOptions(Context& context, const SearchOptions& options)
{
    auto constant = parseConstantOption(options.constant);
    auto form = parseFormOption(options.form);
    auto window = options.window.resolve(context);
    auto seed = seedOption(options.seed);
    if (auto error = firstError(constant, form, window, seed))
        return *error;
    if (options.threads < 0)
        return badInput(QStringLiteral("--threads 应为正整数（0 = 每个处理器核心一个）"));
    RunOptions run{*constant, *form, *window, *seed, std::nullopt, options.threads, options.holdout, !options.noControl};
    if (options.maxOption->count() > 0) {
        if (options.maxCandidates < 1)
            return badInput(QStringLiteral("--max-candidates 应为正整数"));
        run.maxCandidates = options.maxCandidates;
    }
    if (!options.save.empty()) {
        if (auto mode = parseSaveMode(options.save); !mode)
            return mode.error();
    }
    return run;
}

// Saving and exporting what a run found, as the options ask; adds to the JSON answer.
int saveAndExport(Context& context, const SearchOptions& options, const std::vector<FoundFormula>& found, Kind kind,
                  QJsonObject& answer)
{
    auto store = context.store();
    if (!store)
        return context.fail(store.error());
    if (!options.save.empty()) {
        auto mode = parseSaveMode(options.save);
        if (!mode)
            return context.fail(mode.error());
        auto saved = saveFoundFormulas(**store, found, *mode, kind);
        if (!saved)
            return context.fail(saved.error());
        QJsonArray tables;
        for (const TableSaveReport& t : saved->tables) {
            tables.append(QJsonObject{{QStringLiteral("category"), t.category.suffix()},
                                      {QStringLiteral("written"), qint64(t.written)},
                                      {QStringLiteral("added"), qint64(t.added)},
                                      {QStringLiteral("held"), qint64(t.heldAfter)}});
            if (!context.json)
                context.print(QStringLiteral("%1：写入%2条，去重后新增%3条，共%4条")
                                  .arg(t.category.caption())
                                  .arg(t.written)
                                  .arg(t.added)
                                  .arg(t.heldAfter));
        }
        answer.insert(QStringLiteral("saved"), tables);
        if (!saved->backupPath.isEmpty())
            answer.insert(QStringLiteral("backup"), saved->backupPath);
        if (!context.json)
            context.print(saveFinishedMessage());
    }
    if (options.exportText) {
        auto period = DrawHistory(**store).nextPeriod(QDate::currentDate());
        if (!period)
            return context.fail(period.error());
        QStringList texts;
        for (const FoundFormula& f : found)
            texts << f.text;
        auto exported = exportFoundFormulas(**store, *period, texts);
        if (!exported)
            return context.fail(exported.error());
        answer.insert(QStringLiteral("export"), exported->path);
        if (!context.json)
            context.print(QStringLiteral("公式中文导出：%1").arg(exported->path));
    }
    return kSuccess;
}

// The end both runs share, after the lines only one of them prints: the found formulas, the
// summary "<head>：<speed>，找到N条<tail>", the seed and record, the checks, saving and export.
template <typename Outcome>
int reportRun(Context& context, const SearchOptions& options, const Outcome& outcome, std::uint64_t verified,
              std::uint64_t seed, Kind kind, const QString& recordPath, const QString& head, const QString& tail,
              QJsonObject answer)
{
    answer.insert(QStringLiteral("verified"), qint64(verified));
    answer.insert(QStringLiteral("found"), foundJson(outcome.found));
    answer.insert(QStringLiteral("seed"), QString::number(seed));
    answer.insert(QStringLiteral("run_record"), recordPath);
    if (!context.json) {
        printFound(context, outcome.found);
        context.print(QStringLiteral("%1：%2，找到%3条%4")
                          .arg(head, speedText(verified, outcome.seconds, outcome.candidatesPerSecond()))
                          .arg(outcome.found.size())
                          .arg(tail));
        context.print(QStringLiteral("种子%1；运行记录：%2").arg(seed).arg(recordPath));
    }
    reportChecks(context, outcome.control, outcome.holdoutPeriods, outcome.found, answer);
    if (int code = saveAndExport(context, options, outcome.found, kind, answer); code != kSuccess)
        return code;
    if (context.json)
        context.printJson(QJsonDocument(answer));
    return kSuccess;
}

// Completes an order with the run options, checks it against the settings and the store, runs it
// to its end and writes its record; then `report(run, recordPath)`. `hint` follows a refusal of
// the stored thresholds.
template <typename Run, typename Order, typename Report>
int runOrder(Context& context, const SearchOptions& options, Order order, const QString& hint, const Report& report)
{
    auto runOptions = readRunOptions(context, options);
    if (!runOptions)
        return context.fail(runOptions.error());
    runOptions->applyTo(order.request);
    auto history = searchHistory(context);
    if (!history)
        return context.fail(history.error());
    auto store = context.store();
    const SchemeSettings settings(context.settings());
    const FormulaSearch search(**store, settings);
    auto prepared = search.prepare(order, **history);
    if (const auto* refusal = std::get_if<SearchRefusal>(&prepared)) {
        if (refusal->reason == SearchRefusalReason::StoredThresholds)
            return context.fail(badInput(refusal->error.message + hint));
        return context.fail(refusal->error);
    }
    const QDateTime started = QDateTime::currentDateTime();
    Run run(*history, std::move(std::get<0>(prepared)));
    waitForRun(run, [](const auto& progress) { return progressText(progress); });
    auto recordPath = search.record(run, **history, started);
    if (!recordPath)
        return context.fail(recordPath.error());
    return report(run, *recordPath);
}

int runManual(Context& context, const SearchOptions& options)
{
    if (options.category.empty() || options.kind.empty()) {
        QTextStream(stderr) << QStringLiteral("search 需要 --category 和 --kind（或 --scheme、--replay-run）") << '\n';
        return kUsage;
    }
    auto number = parseSearchCategory(options.category);
    if (!number)
        return context.fail(number.error());
    auto kind = parseKind(options.kind);
    if (!kind)
        return context.fail(kind.error());
    ManualSearchOrder order;
    SearchRequest& request = order.request;
    request.shape.category = *categoryOfSearchNumber(*number);
    request.shape.kind = *kind;
    if (options.operandsOption->count() > 0) {
        auto operands = parseOperandCount(QString::number(options.operands));
        if (!operands)
            return context.fail(operands.error());
        order.operandCount = *operands;
    }
    if (!options.thresholds.empty()) {
        auto thresholds = parseThresholdList(fromStd(options.thresholds));
        if (!thresholds)
            return context.fail(thresholds.error());
        order.thresholds = *thresholds;
    }
    if (options.count < 0)
        return context.fail(badInput(QStringLiteral("--count 应为非负整数")));
    request.stopCount = options.count;

    return runOrder<SearchRun>(
        context, options, order, QStringLiteral("，请先用 search-settings set 改正，或用 --thresholds 给出阈值"),
        [&](const SearchRun& done, const QString& recordPath) {
            const SearchRequest& ran = done.request();
            const SearchOutcome& outcome = done.outcome();
            return reportRun(context, options, outcome, outcome.verified, ran.seed, ran.shape.kind, recordPath,
                             ran.shape.category.caption() + killWord(ran.shape.kind),
                             outcome.stopped ? QStringLiteral("（已中止）") : QString(), QJsonObject());
        });
}

QString schemeVisitText(const SchemeCategoryOutcome& c)
{
    const QString caption = categoryOfSearchNumber(c.number)->caption();
    switch (c.end) {
    case SchemeCategoryEnd::Skipped: return QStringLiteral("%1：跳过").arg(caption);
    case SchemeCategoryEnd::TargetReached:
        return QStringLiteral("%1：目标%2条，验证%3条，找到%4条").arg(caption).arg(*c.target).arg(c.verified).arg(c.found);
    case SchemeCategoryEnd::LimitReached:
        return QStringLiteral("%1：目标%2条，验证%3条后停止，找到%4条").arg(caption).arg(*c.target).arg(c.verified).arg(c.found);
    case SchemeCategoryEnd::Stopped:
        return QStringLiteral("%1：目标%2条，验证%3条时中止，找到%4条").arg(caption).arg(*c.target).arg(c.verified).arg(c.found);
    }
    return caption;
}

int runSchemeSearch(Context& context, const SearchOptions& options)
{
    auto kind = parseKind(options.kind.empty() ? std::string("kill") : options.kind);
    if (!kind)
        return context.fail(kind.error());
    SchemeSearchOrder order;
    SchemeRequest& request = order.request;
    request.kind = *kind;
    if (!options.wanted.empty()) {
        auto wanted = parseWantedCounts(options.wanted);
        if (!wanted)
            return context.fail(wanted.error());
        order.wanted = *wanted;
    }
    if (options.mode == "add")
        request.mode = CountMode::Add;
    else if (options.mode == "hold")
        request.mode = CountMode::Hold;
    else
        return context.fail(badInput(QStringLiteral("--mode 应为 add（公式新增数量）或 hold（公式保有数量），而不是“%1”")
                                         .arg(fromStd(options.mode))));

    return runOrder<SchemeRun>(
        context, options, order, QStringLiteral("，请先用 search-settings set 改正"),
        [&](const SchemeRun& done, const QString& recordPath) {
            const SchemeRequest& ran = done.request();
            const SchemeOutcome& outcome = done.outcome();
            QJsonArray visited;
            for (const SchemeCategoryOutcome& c : outcome.visited) {
                static const char* const kEnds[] = {"skipped", "target", "limit", "stopped"};
                visited.append(
                    QJsonObject{{QStringLiteral("category"), categoryOfSearchNumber(c.number)->suffix()},
                                {QStringLiteral("target"), c.target ? QJsonValue(qint64(*c.target)) : QJsonValue()},
                                {QStringLiteral("verified"), qint64(c.verified)},
                                {QStringLiteral("found"), qint64(c.found)},
                                {QStringLiteral("end"), QString::fromLatin1(kEnds[int(c.end)])}});
                if (!context.json)
                    context.print(schemeVisitText(c));
            }
            return reportRun(context, options, outcome, outcome.verified(), ran.seed, ran.kind, recordPath,
                             QStringLiteral("搜索方案（%1）").arg(killWord(ran.kind)),
                             outcome.completed ? QString() : QStringLiteral("（未完成）"),
                             QJsonObject{{QStringLiteral("categories"), visited},
                                         {QStringLiteral("completed"), outcome.completed}});
        });
}

int replayRun(Context& context, const SearchOptions& options)
{
    auto replay = readRunRecord(fromStd(options.replayRun));
    if (!replay)
        return context.fail(replay.error());
    auto history = searchHistory(context);
    if (!history)
        return context.fail(history.error());
    const HistoryFingerprint now = fingerprintOf(**history);
    if (!(now == replay->history))
        return context.fail(badInput(QStringLiteral("历史号码与运行记录不同（记录：%1至%2共%3期；现在：%4至%5共%6期），无法重放")
                                         .arg(replay->history.firstPeriod, replay->history.lastPeriod)
                                         .arg(replay->history.rows)
                                         .arg(now.firstPeriod, now.lastPeriod)
                                         .arg(now.rows)));
    std::vector<FoundFormula> found;
    std::uint64_t verified = 0;
    if (auto* search = std::get_if<SearchRequest>(&replay->request)) {
        search->threads = options.threads;
        SearchRun run(*history, *search);
        waitForRun(run, [](const auto& progress) { return progressText(progress); });
        found = run.outcome().found;
        verified = run.outcome().verified;
    } else {
        auto& scheme = std::get<SchemeRequest>(replay->request);
        scheme.threads = options.threads;
        SchemeRun run(*history, scheme);
        waitForRun(run, [](const auto& progress) { return progressText(progress); });
        found = run.outcome().found;
        verified = run.outcome().verified();
    }
    const std::vector<FoundCode> codes = foundCodes(found);
    const bool same = verified == replay->verified && codes == replay->found;
    if (context.json) {
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("verified"), qint64(verified)},
                                                    {QStringLiteral("found"), foundJson(found)},
                                                    {QStringLiteral("same"), same}}));
    } else {
        printFound(context, found);
        context.print(QStringLiteral("重放：验证公式%1条，找到%2条").arg(verified).arg(found.size()));
    }
    if (!same) {
        QTextStream(stderr) << QStringLiteral("重放结果与运行记录不同：记录验证%1条、找到%2条")
                                   .arg(replay->verified)
                                   .arg(replay->found.size())
                            << '\n';
        return kBadInput;
    }
    if (!context.json)
        context.print(QStringLiteral("重放结果与运行记录相同"));
    return kSuccess;
}

}  // namespace

void addSearchCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<SearchOptions>();
    CLI::App* search = app.add_subcommand("search", "search random formulas that meet ten thresholds (公式搜索)");
    auto* category = search->add_option("--category", options->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    search->add_option("--kind", options->kind, "kill or keep (with --scheme: default kill)");
    options->countOption = search->add_option("--count", options->count, "stop once this many are found (自动中止)")
                               ->capture_default_str();
    options->maxOption = search->add_option("--max-candidates", options->maxCandidates,
                                            "evaluate at most this many candidates (with --scheme: per category)");
    options->operandsOption = search->add_option("--operands", options->operands,
                                                 "parameters per formula, 2..24 (default: the category's setting)");
    search->add_option("--constant", options->constant, "tail constant: a number or random")->capture_default_str();
    search->add_option("--form", options->form, "prefix ([三星直选杀]A+B) or suffix (A+B=下期杀三星直选)")->capture_default_str();
    search->add_option("--thresholds", options->thresholds,
                       "ten numbers t0,...,t9 (default: the category's setting; see search-settings)");
    search->add_option("--seed", options->seed, "seed of the random candidates (default: a fresh one, printed)");
    search->add_option("--threads", options->threads, "worker threads (0: one per processor core)")->capture_default_str();
    search->add_option("--save", options->save, "append or replace: store the found formulas (公式追加/更新到数据库)");
    search->add_flag("--export", options->exportText, "write the found formulas to P期时时彩公式.txt (公式中文导出)");
    auto* scheme = search->add_flag("--scheme", options->scheme, "search every category by the wanted counts (搜索方案)");
    search->add_option("--wanted", options->wanted, "with --scheme: wanted counts, e.g. 1D=60,3G=30 (default: the setting)");
    search->add_option("--mode", options->mode, "with --scheme: add (公式新增数量) or hold (公式保有数量)")->capture_default_str();
    auto* replay = search->add_option("--replay-run", options->replayRun, "repeat a recorded run (search-runs/*.json)");
    search->add_option("--holdout", options->holdout,
                       "hold out the newest K periods (120 = one day): screen on the history before them, then "
                       "score each found formula on them");
    search->add_flag("--no-control", options->noControl,
                     "skip screening the candidates on a shuffled history too (真实/打乱历史通过率)");
    options->window.addTo(search);
    scheme->excludes(category);
    replay->excludes(category)->excludes(scheme);

    setAction(search, [&context, options] {
        if (!options->replayRun.empty())
            return replayRun(context, *options);
        if (options->scheme)
            return runSchemeSearch(context, *options);
        return runManual(context, *options);
    });
}

}  // namespace qeltaro::cli
