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
    ListOptions list;
    std::string select;
    int position = 0;  // 0: the period rankings instead of the ranking list

    void bind(CLI::App* command)
    {
        list.bind(command);
        command->add_option("--select", select, "selected formulas by idx, e.g. 1,3,5 (default all)");
        command->add_option("--position", position, "print the ranking list (历史开奖列表) for position 1 (万位) .. 5 (个位)");
    }
    Status read()
    {
        if (Status s = list.read(); !s)
            return s;
        if (position != 0 && (position < 1 || position > 5))
            return badInput(QStringLiteral("码位%1无效：须为1（万位）到5（个位）").arg(position));
        return success();
    }
};

QJsonArray rankingJson(const DigitRanking& ranking)
{
    QJsonArray out;
    for (const RankedDigit& r : ranking)
        out.append(QJsonObject{{QStringLiteral("digit"), r.digit}, {QStringLiteral("count"), r.count}});
    return out;
}

// Every period with its digits ranked by how many formulas name them.
class RankingsReport : public Report {
public:
    explicit RankingsReport(HistoryReplay replay) : replay_(std::move(replay)) {}

    void writeText(TextOut& out) const override
    {
        for (const PeriodRanking& p : replay_.periods) {
            QStringList ranks;
            for (const RankedDigit& r : p.ranking)
                ranks << QStringLiteral("%1:%2").arg(r.digit).arg(r.count);
            out.line(QStringLiteral("%1 %2 %3").arg(p.period, digitsText(p.draw), ranks.join(u' ')));
        }
    }

    void writeJson(JsonOut& out) const override
    {
        out.beginArray();
        for (const PeriodRanking& p : replay_.periods)
            out.value(QJsonObject{{QStringLiteral("period"), p.period},
                                  {QStringLiteral("digits"), digitsText(p.draw)},
                                  {QStringLiteral("ranking"), rankingJson(p.ranking)}});
        out.endArray();
    }

private:
    HistoryReplay replay_;
};

QJsonObject rankingRowJson(const RankingListRow& row)
{
    QJsonArray ranking;
    for (size_t j = 0; j < 10; ++j) {
        ranking.append(QJsonObject{{QStringLiteral("digit"), row.ranking[j].digit},
                                   {QStringLiteral("count"), row.ranking[j].count},
                                   {QStringLiteral("matched"), row.digitMarked[j]}});
    }
    QJsonObject byCount;
    for (const auto& [count, digits] : row.digitsByCount)
        byCount.insert(QString::number(count), digits);
    return QJsonObject{{QStringLiteral("period"), row.period},
                       {QStringLiteral("drawn"), row.drawn},
                       {QStringLiteral("ranks"), row.ranks},
                       {QStringLiteral("err"), row.errValue},
                       {QStringLiteral("levels"), row.levelCount},
                       {QStringLiteral("level"), row.level},
                       {QStringLiteral("level_size"), row.levelSize},
                       {QStringLiteral("ranking"), ranking},
                       {QStringLiteral("by_count"), byCount}};
}

// The ranking list of one position (历史开奖列表) and the histogram of the drawn digits' ranks.
class RankingListReport : public Report {
public:
    explicit RankingListReport(RankingList list) : list_(std::move(list)), histogram_(rankHistogram(list_)) {}

    void writeText(TextOut& out) const override
    {
        QStringList header;
        for (int c = 0; c < list_.columnCount(); ++c)
            header << list_.headerText(c);
        out.line(header.join(u'\t'));
        for (int r = 0; r < int(list_.rows().size()); ++r) {
            QStringList cells;
            for (int c = 0; c < list_.columnCount(); ++c)
                cells << list_.cellText(r, c).trimmed();
            out.line(cells.join(u'\t'));
        }
        out.line(rankHistogramSummary(histogram_));
    }

    void writeJson(JsonOut& out) const override
    {
        QJsonArray counts;
        for (int count : histogram_.counts)
            counts.append(count);
        out.beginObject();
        out.member(QStringLiteral("chi_square"), histogram_.test.chiSquare);
        out.member(QStringLiteral("mean_rank"), histogram_.meanRank);
        out.member(QStringLiteral("p_value"), histogram_.test.pValue);
        out.member(QStringLiteral("rank_histogram"), counts);
        out.key(QStringLiteral("rows")).beginArray();
        for (const RankingListRow& row : list_.rows())
            out.value(rankingRowJson(row));
        out.endArray();
        out.endObject();
    }

private:
    RankingList list_;
    RankHistogram histogram_;
};

Outcome replay(Context&, Store& store, const ReplayOptions& o)
{
    auto selected = loadSelectedFormulas(store, o.list, o.select);
    if (!selected)
        return selected.error();
    auto replayed = replayCategory(store, selected->history, o.list.category, o.list.kind, selected->selection);
    if (!replayed)
        return replayed.error();
    printWarnings(replayed->problems);
    if (o.position == 0)
        return makeReport<RankingsReport>(std::move(*replayed));
    auto list = RankingList::build(replayed->periods, o.position, o.list.category.group);
    if (!list)
        return list.error();
    return makeReport<RankingListReport>(std::move(*list));
}

}  // namespace

void addReplayCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("replay", "rank the digits of every period by the selected formulas (公式往期位置值结果列表)"),
                    context, replay);
}

}  // namespace qeltaro::cli
