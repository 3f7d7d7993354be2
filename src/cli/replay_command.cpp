// qeltaro-cli replay: the history replay (公式往期位置值结果列表) and its ranking list.

#include "calculation_options.h"

#include "aggregate/history_replay.h"
#include "aggregate/rank_histogram.h"
#include "aggregate/ranking_list_rows.h"
#include "domain/draw_record.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct ReplayOptions {
    std::string category;
    std::string kind;
    std::string select;
    int position = 0;  // 0: print the period rankings instead of the ranking list
};

QJsonArray rankingJson(const DigitRanking& ranking)
{
    QJsonArray out;
    for (const RankedDigit& r : ranking)
        out.append(QJsonObject{{QStringLiteral("digit"), r.digit}, {QStringLiteral("count"), r.count}});
    return out;
}

void printRankings(Context& context, const HistoryReplay& replay)
{
    if (context.json) {
        QJsonArray periods;
        for (const PeriodRanking& p : replay.periods) {
            periods.append(QJsonObject{{QStringLiteral("period"), p.period},
                                       {QStringLiteral("digits"), digitsText(p.draw)},
                                       {QStringLiteral("ranking"), rankingJson(p.ranking)}});
        }
        context.printJson(QJsonDocument(periods));
        return;
    }
    for (const PeriodRanking& p : replay.periods) {
        QStringList ranks;
        for (const RankedDigit& r : p.ranking)
            ranks << QStringLiteral("%1:%2").arg(r.digit).arg(r.count);
        context.print(QStringLiteral("%1 %2 %3").arg(p.period, digitsText(p.draw), ranks.join(u' ')));
    }
}

void printRankingList(Context& context, const RankingList& list)
{
    const RankHistogram histogram = rankHistogram(list);
    if (context.json) {
        QJsonArray rows;
        for (const RankingListRow& row : list.rows()) {
            QJsonArray ranking;
            for (size_t j = 0; j < 10; ++j) {
                ranking.append(QJsonObject{{QStringLiteral("digit"), row.ranking[j].digit},
                                           {QStringLiteral("count"), row.ranking[j].count},
                                           {QStringLiteral("matched"), row.digitMarked[j]}});
            }
            QJsonObject byCount;
            for (const auto& [count, digits] : row.digitsByCount)
                byCount.insert(QString::number(count), digits);
            rows.append(QJsonObject{{QStringLiteral("period"), row.period},
                                    {QStringLiteral("drawn"), row.drawn},
                                    {QStringLiteral("ranks"), row.ranks},
                                    {QStringLiteral("err"), row.errValue},
                                    {QStringLiteral("levels"), row.levelCount},
                                    {QStringLiteral("level"), row.level},
                                    {QStringLiteral("level_size"), row.levelSize},
                                    {QStringLiteral("ranking"), ranking},
                                    {QStringLiteral("by_count"), byCount}});
        }
        QJsonArray counts;
        for (int count : histogram.counts)
            counts.append(count);
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("rows"), rows},
                                                    {QStringLiteral("rank_histogram"), counts},
                                                    {QStringLiteral("mean_rank"), histogram.meanRank},
                                                    {QStringLiteral("chi_square"), histogram.test.chiSquare},
                                                    {QStringLiteral("p_value"), histogram.test.pValue}}));
        return;
    }
    QStringList header;
    for (int c = 0; c < list.columnCount(); ++c)
        header << list.headerText(c);
    context.print(header.join(u'\t'));
    for (int r = 0; r < int(list.rows().size()); ++r) {
        QStringList cells;
        for (int c = 0; c < list.columnCount(); ++c)
            cells << list.cellText(r, c).trimmed();
        context.print(cells.join(u'\t'));
    }
    context.print(rankHistogramSummary(histogram));
}

int runReplay(Context& context, const ReplayOptions& o)
{
    auto category = parseCategory(o.category);
    if (!category)
        return context.fail(category.error());
    auto kill = parseKind(o.kind);
    if (!kill)
        return context.fail(kill.error());
    if (o.position != 0 && (o.position < 1 || o.position > 5))
        return context.fail(badInput(QStringLiteral("码位%1无效：须为1（万位）到5（个位）").arg(o.position)));

    auto store = context.store();
    if (!store)
        return context.fail(store.error());
    auto selected = loadSelectedFormulas(**store, *category, *kill, o.select);
    if (!selected)
        return context.fail(selected.error());
    auto replay = replayCategory(**store, selected->history, *category, *kill, selected->selection);
    if (!replay)
        return context.fail(replay.error());
    for (const QString& problem : replay->problems)
        printWarning(problem);

    if (o.position == 0) {
        printRankings(context, *replay);
        return kSuccess;
    }
    auto list = RankingList::build(replay->periods, o.position, category->group);
    if (!list)
        return context.fail(list.error());
    printRankingList(context, *list);
    return kSuccess;
}

}  // namespace

void addReplayCommand(CLI::App& app, Context& context)
{
    auto o = std::make_shared<ReplayOptions>();
    CLI::App* replay = app.add_subcommand("replay", "rank the digits of every period by the selected formulas (公式往期位置值结果列表)");
    replay->add_option("--category", o->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    replay->add_option("--kind", o->kind, "kill or keep")->required();
    replay->add_option("--select", o->select, "selected formulas by idx, e.g. 1,3,5 (default all)");
    replay->add_option("--position", o->position,
                       "print the ranking list (历史开奖列表) for position 1 (万位) .. 5 (个位)");
    setAction(replay, [&context, o] { return runReplay(context, *o); });
}

}  // namespace qeltaro::cli
