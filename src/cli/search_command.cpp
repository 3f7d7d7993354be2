// qeltaro-cli search: the manual search of one category, the scheme search over all nine, and the
// replay of a recorded run.

#include "holdout_output.h"
#include "search_command_options.h"

#include "history/draw_history.h"
#include "search/formula_search.h"
#include "export/found_formula_export.h"
#include "search/found_formula_save.h"
#include "search/reality_check.h"
#include "search/run_record.h"
#include "search/search_job.h"
#include "search/scheme_run.h"
#include "search/search_category.h"
#include "search/search_run.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace qeltaro::cli {
namespace {

QString elidedText(const QString& text)
{
    constexpr int kShown = 40;
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("…");
}

QJsonObject foundJson(const FoundFormula& f)
{
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
    return formula;
}

void writeFoundJson(JsonOut& out, const std::vector<FoundFormula>& found)
{
    out.beginArray();
    for (const FoundFormula& f : found)
        out.value(foundJson(f));
    out.endArray();
}

void writeFoundText(TextOut& out, const std::vector<FoundFormula>& found)
{
    if (found.empty())
        return;
    const bool holdout = found.front().holdout.has_value();
    out.line(QStringLiteral("公式\t正确率\t最大连错\t最大连对\t最后连错\t最后连对") + (holdout ? u'\t' + holdoutHeader() : QString()));
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
        out.line(line);
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

template <typename Run>
void waitWithProgress(Run& run)
{
    waitForRun(run, [](const auto& progress) { return progressText(progress); });
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

QString bestRatesText(const BestRates& best)
{
    QString text = QStringLiteral("%1 %2").arg(bestRealRateLabel(), bestRateText(best.real));
    if (best.shuffled)
        text += QStringLiteral("，%1 %2").arg(bestShuffledRateLabel(), bestRateText(best.shuffled));
    return text;
}

QJsonObject realityCheckJson(const RealityCheck& check)
{
    return {{QStringLiteral("copies"), check.copies()},
            {QStringLiteral("at_least_as_good"), check.atLeastAsGood},
            {QStringLiteral("p_value"), check.pValue},
            {QStringLiteral("verdict"), realityCheckVerdict(check)}};
}

// The reality check of a category, when one was run for it.
const RealityCheck* checkOf(const std::vector<RealityCheck>& checks, const Category& category)
{
    for (const RealityCheck& check : checks) {
        if (check.category == category)
            return &check;
    }
    return nullptr;
}

QJsonObject visitJson(const SchemeCategoryOutcome& c, const std::vector<RealityCheck>& checks)
{
    static const char* const kEnds[] = {"skipped", "target", "limit", "stopped"};
    const Category category = *categoryOfSearchNumber(c.number);
    QJsonObject visit{{QStringLiteral("category"), category.suffix()},
                      {QStringLiteral("target"), c.target ? QJsonValue(qint64(*c.target)) : QJsonValue()},
                      {QStringLiteral("verified"), qint64(c.verified)},
                      {QStringLiteral("found"), qint64(c.found)},
                      {QStringLiteral("end"), QString::fromLatin1(kEnds[int(c.end)])}};
    insertBestRates(visit, c.best);
    if (const RealityCheck* check = checkOf(checks, category))
        visit.insert(QStringLiteral("reality_check"), realityCheckJson(*check));
    return visit;
}

// A finished run: the lines only the scheme prints, the found formulas, the summary, the seed and
// the record, the checks, and what was saved and exported. A failure to save or export ends the
// text where it happened and leaves out the JSON answer.
class SearchReport : public Report {
public:
    std::vector<SchemeCategoryOutcome> visited;
    std::optional<bool> completed;  // the scheme's
    std::vector<FoundFormula> found;
    std::uint64_t verified = 0;
    std::uint64_t seed = 0;
    QString recordPath;
    QString summary;
    std::optional<ShuffledControl> control;
    std::optional<BestRates> best;  // the manual search's; a scheme's are per category
    std::vector<RealityCheck> reality;
    int holdoutPeriods = 0;
    std::optional<SaveReport> saved;
    std::optional<QString> exported;
    std::optional<Error> failure;

    void writeText(TextOut& out) const override
    {
        for (const SchemeCategoryOutcome& c : visited)
            out.line(schemeVisitText(c) + (c.best.real ? QStringLiteral("；") + bestRatesText(c.best) : QString()));
        writeFoundText(out, found);
        out.line(summary);
        out.line(QStringLiteral("种子%1；运行记录：%2").arg(seed).arg(recordPath));
        if (control) {
            out.line(QStringLiteral("%1 %2（%3条），%4 %5（%6条）")
                         .arg(realPassRateLabel(), passRateText(control->realRate()))
                         .arg(control->realPasses)
                         .arg(shuffledPassRateLabel(), passRateText(control->shuffledRate()))
                         .arg(control->shuffledPasses));
            if (const QString verdict = shuffledControlVerdict(*control); !verdict.isEmpty())
                out.line(verdict);
        }
        if (best)
            out.line(bestRatesText(*best));
        for (const RealityCheck& check : reality)
            out.line((completed ? check.category.caption() + QStringLiteral("：") : QString()) + realityCheckVerdict(check));
        if (holdoutPeriods > 0)
            out.line(QStringLiteral("留出最新%1期检验：找到的%2条公式中%3条在留出期高于随机")
                         .arg(holdoutPeriods)
                         .arg(found.size())
                         .arg(holdoutBeating()));
        if (saved) {
            for (const TableSaveReport& t : saved->tables)
                out.line(QStringLiteral("%1：写入%2条，去重后新增%3条，共%4条")
                             .arg(t.category.caption())
                             .arg(t.written)
                             .arg(t.added)
                             .arg(t.heldAfter));
            out.line(saveFinishedMessage());
        }
        if (exported)
            out.line(QStringLiteral("公式中文导出：%1").arg(*exported));
    }

    void writeJson(JsonOut& out) const override
    {
        if (failure)
            return;
        out.objectWith(smallMembers(), QStringLiteral("found"), [this](JsonOut& rows) { writeFoundJson(rows, found); });
    }

    std::optional<Problem> problem() const override
    {
        if (!failure)
            return std::nullopt;
        return Problem{failure->message, exitCodeOf(*failure)};
    }

private:
    qint64 holdoutBeating() const
    {
        return std::count_if(found.begin(), found.end(), [](const FoundFormula& f) { return f.holdout && f.holdout->beatsChance; });
    }

    QJsonObject smallMembers() const
    {
        QJsonObject answer{{QStringLiteral("verified"), qint64(verified)},
                           {QStringLiteral("seed"), QString::number(seed)},
                           {QStringLiteral("run_record"), recordPath}};
        if (completed) {
            QJsonArray categories;
            for (const SchemeCategoryOutcome& c : visited)
                categories.append(visitJson(c, reality));
            answer.insert(QStringLiteral("categories"), categories);
            answer.insert(QStringLiteral("completed"), *completed);
        }
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
        }
        if (best) {
            insertBestRates(answer, *best);
            if (!reality.empty())
                answer.insert(QStringLiteral("reality_check"), realityCheckJson(reality.front()));
        }
        if (holdoutPeriods > 0) {
            answer.insert(QStringLiteral("holdout_periods"), holdoutPeriods);
            answer.insert(QStringLiteral("holdout_beats_chance"), holdoutBeating());
        }
        if (saved) {
            QJsonArray tables;
            for (const TableSaveReport& t : saved->tables)
                tables.append(QJsonObject{{QStringLiteral("category"), t.category.suffix()},
                                          {QStringLiteral("written"), qint64(t.written)},
                                          {QStringLiteral("added"), qint64(t.added)},
                                          {QStringLiteral("held"), qint64(t.heldAfter)}});
            answer.insert(QStringLiteral("saved"), tables);
            if (!saved->backupPath.isEmpty())
                answer.insert(QStringLiteral("backup"), saved->backupPath);
        }
        if (exported)
            answer.insert(QStringLiteral("export"), *exported);
        return answer;
    }
};

// Saving and exporting what a run found, as the options ask; a failure stops there.
void saveAndExport(Store& store, const SearchOptions& options, Kind kind, SearchReport& report)
{
    if (options.saveMode) {
        auto saved = saveFoundFormulas(store, report.found, *options.saveMode, kind);
        if (!saved) {
            report.failure = saved.error();
            return;
        }
        report.saved = std::move(*saved);
    }
    if (options.exportText) {
        auto period = DrawHistory(store).nextPeriod(QDate::currentDate());
        if (!period) {
            report.failure = period.error();
            return;
        }
        QStringList texts;
        for (const FoundFormula& f : report.found)
            texts << f.text;
        auto exported = exportFoundFormulas(store, *period, texts);
        if (!exported) {
            report.failure = exported.error();
            return;
        }
        report.exported = exported->path;
    }
}

QString summaryLine(const QString& head, std::uint64_t verified, double seconds, double perSecond, size_t found,
                    const QString& tail)
{
    return QStringLiteral("%1：%2，找到%3条%4").arg(head, speedText(verified, seconds, perSecond)).arg(found).arg(tail);
}

// What the manual search alone adds to the report.
void describe(const SearchRequest& ran, const SearchOutcome& outcome, SearchReport& report)
{
    report.verified = outcome.verified;
    report.best = outcome.best;
    report.summary = summaryLine(ran.shape.category.caption() + killWord(ran.shape.kind), outcome.verified, outcome.seconds,
                                 outcome.candidatesPerSecond(), outcome.found.size(),
                                 outcome.stopped ? QStringLiteral("（已中止）") : QString());
}

// What the scheme alone adds to the report.
void describe(const SchemeRequest& ran, const SchemeOutcome& outcome, SearchReport& report)
{
    report.verified = outcome.verified();
    report.visited = outcome.visited;
    report.completed = outcome.completed;
    report.summary = summaryLine(QStringLiteral("搜索方案（%1）").arg(killWord(ran.kind)), outcome.verified(), outcome.seconds,
                                 outcome.candidatesPerSecond(), outcome.found.size(),
                                 outcome.completed ? QString() : QStringLiteral("（未完成）"));
}

Kind kindOf(const SearchRequest& request)
{
    return request.shape.kind;
}

Kind kindOf(const SchemeRequest& request)
{
    return request.kind;
}

// Checks an order against the settings and the store, runs it to its end and writes its record,
// then saves and exports what it found as the options ask. `hint` follows a refusal of the stored
// thresholds.
template <typename Run, typename Order>
Outcome runOrder(Context& context, Store& store, const SearchOptions& options, const Order& order, const QString& hint)
{
    auto history = searchHistory(store);
    if (!history)
        return history.error();
    const SchemeSettings settings(context.settings());
    const FormulaSearch search(store, settings);
    auto prepared = search.prepare(order, **history);
    if (const auto* refusal = std::get_if<SearchRefusal>(&prepared)) {
        if (refusal->reason == SearchRefusalReason::StoredThresholds)
            return badInput(refusal->error.message + hint);
        return refusal->error;
    }
    SearchJob<Run> job(store.dataDir(), *history, std::move(std::get<0>(prepared)));
    waitWithProgress(job);
    const auto& recordPath = job.finish();
    if (!recordPath)
        return recordPath.error();
    auto report = std::make_unique<SearchReport>();
    const auto& outcome = job.outcome();
    report->found = outcome.found;
    report->seed = job.request().seed;
    report->recordPath = *recordPath;
    report->control = outcome.control;
    report->holdoutPeriods = outcome.holdoutPeriods;
    describe(job.request(), outcome, *report);
    saveAndExport(store, options, kindOf(job.request()), *report);
    if (options.realityCopies > 0 && !report->failure) {
        TerminalProgress progress;
        auto checked = runRealityCheck(job.history(), realityCheckOf(job.request(), outcome, options.realityCopies), &progress);
        if (checked)
            report->reality = std::move(*checked);
        else
            report->failure = checked.error();
    }
    return ReportPtr(std::move(report));
}

// The replay of a recorded run, and whether it found what the record says.
class ReplayReport : public Report {
public:
    std::vector<FoundFormula> found;
    std::uint64_t verified = 0;
    bool same = false;
    RunReplay record;

    void writeText(TextOut& out) const override
    {
        writeFoundText(out, found);
        out.line(QStringLiteral("重放：验证公式%1条，找到%2条").arg(verified).arg(found.size()));
        if (same)
            out.line(QStringLiteral("重放结果与运行记录相同"));
    }

    void writeJson(JsonOut& out) const override
    {
        out.objectWith(QJsonObject{{QStringLiteral("verified"), qint64(verified)}, {QStringLiteral("same"), same}},
                       QStringLiteral("found"), [this](JsonOut& rows) { writeFoundJson(rows, found); });
    }

    std::optional<Problem> problem() const override
    {
        if (same)
            return std::nullopt;
        return Problem{QStringLiteral("重放结果与运行记录不同：记录验证%1条、找到%2条").arg(record.verified).arg(record.found.size()),
                       kBadInput};
    }
};

template <typename Run, typename Request>
void replayRequest(const std::shared_ptr<const HistoryColumns>& history, Request request, int threads, ReplayReport& report)
{
    request.threads = threads;
    Run run(history, request);
    waitWithProgress(run);
    report.found = run.outcome().found;
    if constexpr (std::is_same_v<Run, SchemeRun>)
        report.verified = run.outcome().verified();
    else
        report.verified = run.outcome().verified;
}

Outcome replayRun(Store& store, const SearchOptions& options)
{
    auto history = searchHistory(store);
    if (!history)
        return history.error();
    const RunReplay& record = *options.replay;
    const HistoryFingerprint now = fingerprintOf(**history);
    if (!(now == record.history))
        return badInput(QStringLiteral("历史号码与运行记录不同（记录：%1至%2共%3期；现在：%4至%5共%6期），无法重放")
                            .arg(record.history.firstPeriod, record.history.lastPeriod)
                            .arg(record.history.rows)
                            .arg(now.firstPeriod, now.lastPeriod)
                            .arg(now.rows));
    auto report = std::make_unique<ReplayReport>();
    if (const auto* search = std::get_if<SearchRequest>(&record.request))
        replayRequest<SearchRun>(*history, *search, options.threads, *report);
    else
        replayRequest<SchemeRun>(*history, std::get<SchemeRequest>(record.request), options.threads, *report);
    report->same = report->verified == record.verified && foundCodes(report->found) == record.found;
    report->record = record;
    return ReportPtr(std::move(report));
}

Outcome searchCommand(Context& context, Store& store, const SearchOptions& options)
{
    switch (options.searchMode) {
    case SearchMode::Replay: return replayRun(store, options);
    case SearchMode::Scheme:
        return runOrder<SchemeRun>(context, store, options, options.schemeOrder, QStringLiteral("，请先用 search-settings set 改正"));
    case SearchMode::Manual: break;
    }
    return runOrder<SearchRun>(context, store, options, options.manualOrder,
                               QStringLiteral("，请先用 search-settings set 改正，或用 --thresholds 给出阈值"));
}

}  // namespace

void addSearchCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("search", "search random formulas that meet ten thresholds (公式搜索)"), context,
                    searchCommand);
}

}  // namespace qeltaro::cli
