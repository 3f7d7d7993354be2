#include "search/reality_check.h"

#include "backtest/holdout.h"
#include "domain/backtest_window.h"
#include "domain/random_stream.h"
#include "history/history_shuffle.h"
#include "search/candidate_search.h"
#include "search/search_category.h"

#include <algorithm>

namespace qeltaro {
namespace {

constexpr int kProgressSteps = 1000;

std::optional<RealityCheckPart> partOf(const CandidateShape& shape, std::uint64_t candidateSeed,
                                       const SearchThresholds& thresholds, std::uint64_t verified, const BestRates& best)
{
    if (verified == 0 || !best.real)
        return std::nullopt;
    return RealityCheckPart{shape, candidateSeed, thresholds, verified, *best.real};
}

}  // namespace

RealityCheckRequest realityCheckOf(const SearchRequest& request, const SearchOutcome& outcome, int copies)
{
    RealityCheckRequest check{{}, request.window, request.holdoutPeriods, request.seed, copies, request.threads};
    if (auto part = partOf(request.shape, request.seed, request.thresholds, outcome.verified, outcome.best))
        check.parts.push_back(*part);
    return check;
}

RealityCheckRequest realityCheckOf(const SchemeRequest& request, const SchemeOutcome& outcome, int copies)
{
    RealityCheckRequest check{{}, request.window, request.holdoutPeriods, request.seed, copies, request.threads};
    for (const SchemeCategoryOutcome& visit : outcome.visited) {
        const CandidateShape shape{*categoryOfSearchNumber(visit.number), request.kind, visit.operandCount,
                                   request.constant, request.form};
        if (auto part = partOf(shape, schemeCategorySeed(request.seed, visit.number), visit.thresholds, visit.verified,
                               visit.best))
            check.parts.push_back(*part);
    }
    return check;
}

HistoryColumns realityCopy(const HistoryColumns& screened, std::uint64_t runSeed, int copy, int fromRow)
{
    return shuffledHistory(screened, deriveSeed(runSeed, 0x5245414C495459ull + std::uint64_t(copy)), fromRow);
}

RealityCheck judgeReality(const Category& category, float realBest, std::vector<float> copyBests)
{
    RealityCheck check{category, realBest, std::move(copyBests), 0, 1};
    check.atLeastAsGood = int(std::count_if(check.copyBests.begin(), check.copyBests.end(),
                                            [realBest](float best) { return best >= realBest; }));
    check.pValue = double(1 + check.atLeastAsGood) / double(1 + check.copies());
    return check;
}

Result<std::vector<RealityCheck>> runRealityCheck(const HistoryColumns& history, const RealityCheckRequest& request,
                                                  Progress* progress)
{
    if (request.copies < 1 || request.copies > kMaxRealityCopies)
        return badInput(QStringLiteral("打乱历史的份数应为1到%1之间的整数，而不是%2").arg(kMaxRealityCopies).arg(request.copies));
    if (request.parts.empty())
        return badInput(QStringLiteral("这次搜索没有验证任何公式，无从检验"));
    const HistoryColumns screened = historyBeforeHoldout(history, request.holdoutPeriods);
    const int fromRow = std::max(firstScoredRow(screened.rowCount(), request.window.backtestSettings()) - 1, 0);
    const int threads = searchThreadCount(request.threads);
    std::uint64_t total = 0;
    for (const RealityCheckPart& part : request.parts)
        total += part.verified * std::uint64_t(request.copies);

    std::vector<std::vector<float>> bests(request.parts.size());
    std::uint64_t doneBefore = 0;
    for (int copy = 0; copy < request.copies; ++copy) {
        // One shuffled copy serves every category.
        const HistoryColumns shuffled = realityCopy(screened, request.seed, copy, fromRow);
        for (size_t i = 0; i < request.parts.size(); ++i) {
            const RealityCheckPart& part = request.parts[i];
            const CandidateEvaluator evaluator(shuffled, part.shape.category, request.window);
            const CandidateGenerator generator(part.shape, part.candidateSeed);
            const CandidateSearch search(evaluator, generator, part.thresholds);
            RunControl control;
            CandidateSearchReport report;
            if (progress) {
                const QString what = QStringLiteral("%1 第%2/%3份打乱历史")
                                         .arg(part.shape.category.caption())
                                         .arg(copy + 1)
                                         .arg(request.copies);
                report = [&, what](std::uint64_t verified, long long, std::uint64_t, const BestRates&,
                                   const std::vector<FoundCandidate>&) {
                    if (progress->cancelled())
                        control.stop();
                    progress->report(int(double(doneBefore + verified) / double(total) * kProgressSteps), kProgressSteps, what);
                };
            }
            CandidateSearchLimits limits;
            limits.maxCandidates = part.verified;
            const CandidateSearchOutcome outcome = search.run(limits, threads, control, report);
            if (outcome.stopped || !outcome.best.real)
                return Error{ErrorKind::Cancelled, QStringLiteral("已停止检验")};
            bests[i].push_back(*outcome.best.real);
            doneBefore += part.verified;
        }
    }
    std::vector<RealityCheck> checks;
    for (size_t i = 0; i < request.parts.size(); ++i)
        checks.push_back(judgeReality(request.parts[i].shape.category, request.parts[i].realBest, std::move(bests[i])));
    return checks;
}

QString realityCheckCaption()
{
    return QStringLiteral("检验最优公式是否只是运气");
}

QString realityCheckVerdict(const RealityCheck& check)
{
    const float luck = check.copyBests.empty() ? 0.0f : *std::max_element(check.copyBests.begin(), check.copyBests.end());
    const QString rates = QStringLiteral("%1%2%，%3份打乱历史中最优的%4%")
                              .arg(bestRealRateLabel())
                              .arg(double(check.realBest), 0, 'f', 4)
                              .arg(check.copies())
                              .arg(double(luck), 0, 'f', 4);
    const QString counted = QStringLiteral("%1份中%2份至少同样好，p=%3")
                                .arg(check.copies())
                                .arg(check.atLeastAsGood)
                                .arg(check.pValue, 0, 'g', 3);
    if (check.beatsLuck())
        return QStringLiteral("%1：最优公式比运气在打乱历史中找到的最优公式更好（%2）。").arg(rates, counted);
    if (check.atLeastAsGood == 0)
        return QStringLiteral("%1：没有一份打乱历史找到同样好的公式，但份数太少，还不能说最优公式比运气找到的更好（%2；至少19份才能下结论）。")
            .arg(rates, counted);
    return QStringLiteral("%1：最优公式并不比运气在打乱历史中找到的最优公式更好（%2）。").arg(rates, counted);
}

}  // namespace qeltaro
