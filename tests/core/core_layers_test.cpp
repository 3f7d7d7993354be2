// The core's folders are layers: common < domain < language < store, io < the use cases. A file
// may include its own folder and the layers below it; use-case folders may include each other
// as long as no cycle forms. Every folder of src/core must have a layer.

#include "source_includes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <map>
#include <set>
#include <vector>

namespace {

constexpr int kUseCaseLayer = 4;

const std::map<QString, int>& layers()
{
    static const std::map<QString, int> table = {
        {QStringLiteral("common"), 0},     // result, progress, message excerpts, colours: no I/O
        {QStringLiteral("domain"), 1},     // vocabulary and maths: no store, no files, no network
        {QStringLiteral("language"), 2},   // the formula language
        {QStringLiteral("store"), 3},      // the only code that writes SQL
        {QStringLiteral("io"), 3},         // text files, HTTP, the data folder
        {QStringLiteral("history"), kUseCaseLayer},
        {QStringLiteral("library"), kUseCaseLayer},
        {QStringLiteral("backtest"), kUseCaseLayer},
        {QStringLiteral("aggregate"), kUseCaseLayer},
        {QStringLiteral("search"), kUseCaseLayer},
        {QStringLiteral("export"), kUseCaseLayer},
        {QStringLiteral("predictions"), kUseCaseLayer},
        {QStringLiteral("session"), kUseCaseLayer},
        {QStringLiteral("settings"), kUseCaseLayer},
        {QStringLiteral("trend"), kUseCaseLayer},
    };
    return table;
}

using Include = qeltaro::test::SourceInclude;

QString folderOf(const QString& path, const QString& ownFolder)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    return slash < 0 ? ownFolder : path.left(slash);
}

// One message per include that points up or across a layer, per folder without a layer, and per
// cycle between use-case folders.
QStringList layerViolations(const std::vector<Include>& includes)
{
    QStringList out;
    std::map<QString, std::map<QString, QString>> edges;  // use-case folder -> folder -> one example
    for (const Include& inc : includes) {
        const QString from = folderOf(inc.file, QString());
        const QString to = folderOf(inc.target, from);
        if (from == to)
            continue;
        const auto fromLayer = layers().find(from);
        const auto toLayer = layers().find(to);
        if (fromLayer == layers().end() || toLayer == layers().end()) {
            out << QStringLiteral("%1 includes %2: folder without a layer").arg(inc.file, inc.target);
            continue;
        }
        if (toLayer->second > fromLayer->second
            || (toLayer->second == fromLayer->second && fromLayer->second < kUseCaseLayer)) {
            out << QStringLiteral("%1 includes %2: above or beside its layer").arg(inc.file, inc.target);
            continue;
        }
        if (fromLayer->second == kUseCaseLayer && toLayer->second == kUseCaseLayer)
            edges[from].try_emplace(to, QStringLiteral("%1 includes %2").arg(inc.file, inc.target));
    }

    // Folders that reach each other form a cycle; each cycle is reported once, with its includes.
    auto reach = [&](const QString& start) {
        std::set<QString> seen;
        std::vector<QString> todo{start};
        while (!todo.empty()) {
            const QString folder = todo.back();
            todo.pop_back();
            for (const auto& [next, example] : edges[folder]) {
                if (seen.insert(next).second)
                    todo.push_back(next);
            }
        }
        return seen;
    };
    std::map<QString, std::set<QString>> reachable;
    for (const auto& [folder, layer] : layers()) {
        if (layer == kUseCaseLayer)
            reachable[folder] = reach(folder);
    }
    std::set<QString> reported;
    for (const auto& [folder, reached] : reachable) {
        if (!reached.count(folder) || reported.count(folder))
            continue;
        QStringList members;
        QStringList examples;
        for (const QString& other : reached) {
            if (reachable[other].count(folder)) {
                members << other;
                reported.insert(other);
            }
        }
        for (const QString& a : members) {
            for (const auto& [b, example] : edges[a]) {
                if (members.contains(b))
                    examples << example;
            }
        }
        out << QStringLiteral("cycle between %1 (%2)").arg(members.join(QStringLiteral(", ")),
                                                            examples.join(QStringLiteral("; ")));
    }
    return out;
}

TEST(CoreLayersTest, EveryIncludeOfTheCorePointsDownOrIntoAUseCaseWithoutCycle)
{
    const auto includes = qeltaro::test::quotedIncludes(qeltaro::test::sourcePath(QStringLiteral("src/core")));
    ASSERT_GT(includes.size(), 300u) << "the core's sources were not found";
    const QStringList violations = layerViolations(includes);
    EXPECT_TRUE(violations.isEmpty()) << violations.join(QLatin1Char('\n')).toStdString();
}

TEST(CoreLayersTest, TheCheckRefusesUpwardAcrossUnknownAndCyclicIncludes)
{
    EXPECT_TRUE(layerViolations({
        {"domain/hit_rule.h", "domain/category.h"},
        {"domain/hit_rule.h", "common/result.h"},
        {"language/expression.h", "domain/predicted_digit.h"},
        {"store/schema.cpp", "domain/category.h"},
        {"history/draw_history.cpp", "store/store.h"},
        {"history/draw_history.cpp", "io/text_codec.h"},
        {"search/scheme_run.h", "backtest/holdout.h"},
        {"backtest/category_calculation.h", "aggregate/err_counts.h"},
        {"search/run_record.cpp", "run_record.h"},
    }).isEmpty());

    EXPECT_EQ(layerViolations({{"domain/hit_rule.h", "language/expression.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"store/history_table.h", "history/draw_history.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"store/store.cpp", "io/text_codec.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"common/result.h", "domain/category.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"formula/category.h", "common/result.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"session/first_start.cpp", "gui/app/main_window.h"}}).size(), 1);

    // A cycle through three folders is one violation naming every include that closes it; the
    // chain without its last link is none.
    const std::vector<Include> chain = {
        {"history/history_shuffle.cpp", "search/random_stream.h"},
        {"search/run_record.h", "backtest/holdout.h"},
        {"export/history_sheet.h", "backtest/backtest_engine.h"},
    };
    EXPECT_TRUE(layerViolations(chain).isEmpty());
    auto cyclic = chain;
    cyclic.push_back({"backtest/holdout.cpp", "history/draw_history.h"});
    const QStringList violations = layerViolations(cyclic);
    ASSERT_EQ(violations.size(), 1) << violations.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(violations[0].startsWith(QStringLiteral("cycle between backtest, history, search")))
        << violations[0].toStdString();
    EXPECT_FALSE(violations[0].contains(QStringLiteral("export")));
}

}  // namespace
