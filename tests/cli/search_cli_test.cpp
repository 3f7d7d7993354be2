#include "history/draw_history.h"
#include "store/formula_table.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

const QString kLoose3D = QStringLiteral("92,100,0,3,20,32768,0,32768,0,32768");
const QString kOpen = QStringLiteral("0,100,0,32768,0,32768,0,32768,0,32768");

void fill(TempStore& temp, int draws = 500)
{
    ASSERT_TRUE(DrawHistory(temp.store()).importText(test::sampleHistoryLines(draws)));
    temp.close();
}

QJsonObject jsonOf(const test::CliResult& r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

int formulaCount(TempStore& temp, Category category)
{
    temp.reopen();
    const int n = *FormulaTable(temp.store(), category).count();
    temp.close();
    return n;
}

}  // namespace

TEST(SearchCli, FindsFormulasAndItsRunRecordReplays)
{
    TempStore temp;
    fill(temp);
    auto r = runCli(temp, {"--json", "search", "--category", "3D", "--kind", "kill", "--count", "5", "--seed", "42",
                           "--thresholds", kLoose3D, "--threads", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject answer = jsonOf(r);
    const QJsonArray found = answer.value(QStringLiteral("found")).toArray();
    ASSERT_EQ(found.size(), 5);
    EXPECT_GT(answer.value(QStringLiteral("verified")).toInteger(), 5);
    for (const QJsonValue& v : found) {
        const QJsonObject f = v.toObject();
        EXPECT_TRUE(f.value(QStringLiteral("text")).toString().startsWith(QStringLiteral("[三星直选杀]")));
        EXPECT_GE(f.value(QStringLiteral("rate")).toDouble(), 92 - 0.0001);
        EXPECT_LE(f.value(QStringLiteral("max_miss")).toInt(), 3);
        EXPECT_GE(f.value(QStringLiteral("max_hit")).toInt(), 20);
        for (const char* field : {"code", "last_miss", "last_hit"})
            EXPECT_TRUE(f.contains(QString::fromLatin1(field))) << field;
    }
    const QString record = answer.value(QStringLiteral("run_record")).toString();
    ASSERT_TRUE(QFile::exists(record));
    EXPECT_EQ(formulaCount(temp, {3, false}), 0);  // nothing saved without --save

    auto replay = runCli(temp, {"--json", "search", "--replay-run", record, "--threads", "1"});
    ASSERT_EQ(replay.exitCode, 0) << replay.err.toStdString();
    EXPECT_TRUE(jsonOf(replay).value(QStringLiteral("same")).toBool());
    EXPECT_EQ(jsonOf(replay).value(QStringLiteral("found")).toArray(), found);

    // Another history: the record cannot be repeated on it.
    temp.reopen();
    ASSERT_TRUE(DrawHistory(temp.store()).importText(test::sampleHistoryLines(501)));
    temp.close();
    auto refused = runCli(temp, {"search", "--replay-run", record});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("历史号码与运行记录不同")));
}

TEST(SearchCli, SavesAndExportsTheFoundFormulas)
{
    TempStore temp;
    fill(temp);
    auto r = runCli(temp, {"--json", "search", "--category", "2G", "--kind", "keep", "--count", "4", "--seed", "1",
                           "--thresholds", kOpen, "--operands", "3", "--form", "suffix", "--save", "append", "--export"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject answer = jsonOf(r);
    EXPECT_EQ(answer.value(QStringLiteral("verified")).toInt(), 4);  // every candidate passes
    EXPECT_EQ(formulaCount(temp, {2, true}), 4);
    const QString exported = answer.value(QStringLiteral("export")).toString();
    EXPECT_TRUE(exported.endsWith(QStringLiteral("期时时彩公式.txt")));
    const QString text = QString::fromUtf8(test::readFile(exported));
    const QJsonArray found = answer.value(QStringLiteral("found")).toArray();
    for (const QJsonValue& v : found) {
        const QString line = v.toObject().value(QStringLiteral("text")).toString();
        EXPECT_TRUE(line.endsWith(QStringLiteral("=下期生二星组选")));
        EXPECT_TRUE(text.contains(line));
        EXPECT_EQ(v.toObject().value(QStringLiteral("code")).toString().count(u'+'), 3);
    }

    // Replacing keeps a backup and leaves only the new ones.
    auto replaced = runCli(temp, {"search", "--category", "2G", "--kind", "keep", "--count", "2", "--seed", "2",
                                  "--thresholds", kOpen, "--save", "replace"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.contains(QStringLiteral("公式追加完毕！")));
    EXPECT_EQ(formulaCount(temp, {2, true}), 2);
}

TEST(SearchCli, BadInputIsRefusedAndChangesNothing)
{
    TempStore temp;
    fill(temp, 100);
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const QStringList base{"search", "--category", "3D", "--kind", "kill", "--save", "append", "--max-candidates", "100"};
    for (const Case& c : {
             Case{base + QStringList{"--constant", "40000"}, 1, "超出范围"},
             Case{base + QStringList{"--constant", "abc"}, 1, "--constant"},
             Case{base + QStringList{"--operands", "25"}, 1, "公式运算元数"},
             Case{base + QStringList{"--thresholds", "1,2,3"}, 1, "阈值应为10个数"},
             Case{base + QStringList{"--thresholds", "94,100,0,2,x,32768,0,0,32,32768"}, 1, "最大连对下限"},
             Case{base + QStringList{"--form", "middle"}, 1, "--form"},
             Case{base + QStringList{"--seed", "-5"}, 1, "--seed"},
             Case{base + QStringList{"--window", "0"}, 1, "--window"},
             Case{{"search", "--category", "1G", "--kind", "kill"}, 1, "未知类别"},
             Case{{"search", "--category", "3D", "--kind", "kill", "--save", "maybe"}, 1, "--save"},
             Case{{"search", "--kind", "kill"}, 2, "--category"},
             Case{{"search", "--scheme", "--wanted", "3D=many"}, 1, "3D=many"},
             Case{{"search", "--scheme", "--mode", "most"}, 1, "--mode"},
         }) {
        auto r = runCli(temp, c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(formulaCount(temp, {3, false}), 0);
    EXPECT_FALSE(QFile::exists(temp.dataDir() + QStringLiteral("/search-runs")));

    TempStore empty;
    auto noHistory = runCli(empty, {"search", "--category", "3D", "--kind", "kill"});
    EXPECT_EQ(noHistory.exitCode, 1);
    EXPECT_TRUE(noHistory.err.contains(QStringLiteral("历史号码不足两期")));
}

TEST(SearchCli, StoredThresholdThatIsNoNumberIsRefused)
{
    TempStore temp;
    fill(temp, 100);
    // Edited by hand: the lowest rate of 一星直选杀 (section 0, key 0) is no number. A search held
    // to it could find nothing and would never end.
    QDir().mkpath(QFileInfo(temp.settingsFile()).path());
    test::writeFile(temp.settingsFile(), "[0]\n0=abc\n");
    for (const QStringList& arguments : {QStringList{"search", "--category", "1D", "--kind", "kill"},
                                         QStringList{"search", "--scheme", "--wanted", "1D=2,2D=2"}}) {
        auto r = runCli(temp, arguments + QStringList{"--max-candidates", "200", "--no-control"});
        EXPECT_EQ(r.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("一星直选杀的正确率下限不是数字"))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(temp.dataDir() + QStringLiteral("/search-runs")));
    // Thresholds given on the command line, or a scheme that does not search 一星直选, run.
    EXPECT_EQ(runCli(temp, {"search", "--category", "1D", "--kind", "kill", "--thresholds", kOpen, "--count", "1"}).exitCode, 0);
    EXPECT_EQ(runCli(temp, {"search", "--scheme", "--wanted", "2D=1", "--max-candidates", "200", "--no-control"}).exitCode, 0);
}

TEST(SearchCli, SchemeSearchesEachWantedCategoryAndSaves)
{
    TempStore temp;
    fill(temp, 300);
    for (const char* category : {"1D", "2G"}) {
        auto set = runCli(temp, {"search-settings", "set", "--category", category, "--thresholds", kOpen});
        ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    }
    auto r = runCli(temp, {"--json", "search", "--scheme", "--wanted", "1D=2,2G=3", "--seed", "9", "--save", "append"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject answer = jsonOf(r);
    const QJsonArray categories = answer.value(QStringLiteral("categories")).toArray();
    ASSERT_EQ(categories.size(), 9);
    EXPECT_EQ(categories[0].toObject().value(QStringLiteral("end")).toString(), QStringLiteral("target"));
    EXPECT_EQ(categories[1].toObject().value(QStringLiteral("end")).toString(), QStringLiteral("skipped"));
    EXPECT_EQ(categories[5].toObject().value(QStringLiteral("category")).toString(), QStringLiteral("2G"));
    EXPECT_EQ(answer.value(QStringLiteral("found")).toArray().size(), 5);
    EXPECT_TRUE(answer.value(QStringLiteral("completed")).toBool());
    EXPECT_EQ(formulaCount(temp, {1, false}), 2);
    EXPECT_EQ(formulaCount(temp, {2, true}), 3);

    // Hold mode: 2G holds 3 of the 3 wanted, so only 1D searches, for 4 - 2 more.
    auto hold = runCli(temp, {"--json", "search", "--scheme", "--wanted", "1D=4,2G=3", "--mode", "hold", "--seed", "10",
                              "--save", "append"});
    ASSERT_EQ(hold.exitCode, 0) << hold.err.toStdString();
    EXPECT_EQ(jsonOf(hold).value(QStringLiteral("found")).toArray().size(), 2);
    EXPECT_EQ(formulaCount(temp, {1, false}), 4);

    auto replay = runCli(temp, {"search", "--replay-run", jsonOf(hold).value(QStringLiteral("run_record")).toString()});
    EXPECT_EQ(replay.exitCode, 0) << replay.err.toStdString();
}

TEST(SearchCli, SearchSettingsShowSetAndReset)
{
    TempStore temp;
    auto shown = runCli(temp, {"--json", "search-settings", "show", "--category", "1D"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    QJsonObject first = jsonOf(shown).value(QStringLiteral("categories")).toArray()[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("thresholds")).toArray(),
              (QJsonArray{94.6, 100, 0, 2, 48, 32768, 0, 0, 32, 32768}));
    EXPECT_EQ(first.value(QStringLiteral("operands")).toInt(), 8);
    EXPECT_EQ(first.value(QStringLiteral("wanted")).toInt(), 60);

    ASSERT_EQ(runCli(temp, {"search-settings", "set", "--category", "3G", "--kind", "keep", "--operands", "12",
                            "--thresholds", "30,100,0,12,4,32768,0,0,2,32768"}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"search-settings", "set", "--kind", "keep", "--wanted", "3G=7"}).exitCode, 0);
    auto bad = runCli(temp, {"search-settings", "set", "--category", "3G", "--kind", "keep", "--operands", "12",
                             "--thresholds", "30,100,0,12,4,32768,0,0,x,32768"});
    EXPECT_EQ(bad.exitCode, 1);
    shown = runCli(temp, {"--json", "search-settings", "show", "--category", "3G", "--kind", "keep"});
    first = jsonOf(shown).value(QStringLiteral("categories")).toArray()[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("thresholds")).toArray()[0].toDouble(), 30);
    EXPECT_EQ(first.value(QStringLiteral("thresholds")).toArray()[8].toDouble(), 2);
    EXPECT_EQ(first.value(QStringLiteral("operands")).toInt(), 12);
    EXPECT_EQ(first.value(QStringLiteral("wanted")).toInt(), 7);

    ASSERT_EQ(runCli(temp, {"search-settings", "reset"}).exitCode, 0);
    shown = runCli(temp, {"--json", "search-settings", "show", "--category", "3G", "--kind", "keep"});
    first = jsonOf(shown).value(QStringLiteral("categories")).toArray()[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("thresholds")).toArray()[0].toDouble(), 34);
    EXPECT_EQ(first.value(QStringLiteral("operands")).toInt(), 8);
}

TEST(SearchCli, SmartSetProposesAndSavesThresholds)
{
    TempStore temp;
    fill(temp, 400);
    auto r = runCli(temp, {"--json", "smart-set", "--category", "3D", "--kind", "kill", "--samples", "20", "--seed", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray t = jsonOf(r).value(QStringLiteral("thresholds")).toArray();
    ASSERT_EQ(t.size(), 10);
    const QJsonArray defaults{94.6, 100, 0, 2, 48, 32768, 0, 0, 32, 32768};
    for (int i : {1, 2, 5, 6, 9})
        EXPECT_EQ(t[i], defaults[i]) << i;
    EXPECT_GE(t[8].toDouble(), 1);
    // Not saved without --save; saved with it.
    auto shown = runCli(temp, {"--json", "search-settings", "show", "--category", "3D"});
    EXPECT_EQ(jsonOf(shown).value(QStringLiteral("categories")).toArray()[0].toObject().value(QStringLiteral("thresholds")).toArray(),
              defaults);
    ASSERT_EQ(runCli(temp, {"smart-set", "--category", "3D", "--kind", "kill", "--samples", "20", "--seed", "4", "--save"}).exitCode, 0);
    shown = runCli(temp, {"--json", "search-settings", "show", "--category", "3D"});
    EXPECT_EQ(jsonOf(shown).value(QStringLiteral("categories")).toArray()[0].toObject().value(QStringLiteral("thresholds")).toArray(), t);

    auto all = runCli(temp, {"--json", "smart-set", "--all", "--kind", "keep", "--samples", "20", "--seed", "5"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QJsonArray categories = jsonOf(all).value(QStringLiteral("categories")).toArray();
    ASSERT_EQ(categories.size(), 9);
    EXPECT_EQ(categories[0].toObject().value(QStringLiteral("category")).toString(), QStringLiteral("5G"));
    shown = runCli(temp, {"--json", "search-settings", "show", "--category", "5G", "--kind", "keep"});
    EXPECT_EQ(jsonOf(shown).value(QStringLiteral("categories")).toArray()[0].toObject().value(QStringLiteral("thresholds")).toArray(),
              categories[0].toObject().value(QStringLiteral("thresholds")).toArray());

    EXPECT_EQ(runCli(temp, {"smart-set", "--category", "3D", "--samples", "0"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"smart-set", "--kind", "kill"}).exitCode, 2);
}

TEST(SearchCli, ReportsTheShuffledControlAndTheHeldOutPeriods)
{
    TempStore temp;
    fill(temp, 600);
    auto r = runCli(temp, {"--json", "search", "--category", "3D", "--kind", "kill", "--count", "4", "--seed", "9",
                           "--thresholds", kLoose3D, "--holdout", "120"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject answer = jsonOf(r);
    const QJsonObject control = answer.value(QStringLiteral("control")).toObject();
    EXPECT_EQ(control.value(QStringLiteral("real_passes")).toInt(), 4);
    EXPECT_TRUE(control.contains(QStringLiteral("shuffled_passes")));
    EXPECT_FALSE(control.value(QStringLiteral("verdict")).toString().isEmpty());
    EXPECT_EQ(answer.value(QStringLiteral("holdout_periods")).toInt(), 120);
    for (const QJsonValue& v : answer.value(QStringLiteral("found")).toArray()) {
        const QJsonObject holdout = v.toObject().value(QStringLiteral("holdout")).toObject();
        EXPECT_EQ(holdout.value(QStringLiteral("trials")).toInt(), 120);
        EXPECT_DOUBLE_EQ(holdout.value(QStringLiteral("chance")).toDouble(), 0.9);
    }

    auto text = runCli(temp, {"search", "--category", "3D", "--kind", "kill", "--count", "2", "--seed", "9",
                              "--thresholds", kLoose3D});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("真实历史通过率"))) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("打乱历史通过率")));

    auto without = runCli(temp, {"--json", "search", "--category", "3D", "--kind", "kill", "--count", "2", "--seed",
                                 "9", "--thresholds", kLoose3D, "--no-control"});
    ASSERT_EQ(without.exitCode, 0) << without.err.toStdString();
    EXPECT_FALSE(jsonOf(without).contains(QStringLiteral("control")));

    auto tooMany = runCli(temp, {"search", "--category", "3D", "--kind", "kill", "--holdout", "599"});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_TRUE(tooMany.err.contains(QStringLiteral("留出599期后只剩1期历史"))) << tooMany.err.toStdString();
}

TEST(SearchCli, TellsTheBestRatesAndChecksTheBestAgainstLuck)
{
    TempStore temp;
    fill(temp, 400);
    auto r = runCli(temp, {"--json", "search", "--category", "1D", "--kind", "kill", "--max-candidates", "3000", "--count",
                           "100000", "--seed", "3", "--thresholds", kOpen, "--no-control", "--reality-check", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject answer = jsonOf(r);
    EXPECT_GT(answer.value(QStringLiteral("best_real_rate")).toDouble(), 90);
    EXPECT_TRUE(answer.value(QStringLiteral("best_shuffled_rate")).isNull());
    const QJsonObject check = answer.value(QStringLiteral("reality_check")).toObject();
    EXPECT_EQ(check.value(QStringLiteral("copies")).toInt(), 2);
    const int reached = check.value(QStringLiteral("at_least_as_good")).toInt();
    EXPECT_DOUBLE_EQ(check.value(QStringLiteral("p_value")).toDouble(), (1.0 + reached) / 3.0);
    EXPECT_TRUE(check.value(QStringLiteral("verdict")).toString().contains(QStringLiteral("运气")));

    // A scheme: per category, and only for the categories it searched.
    r = runCli(temp, {"--json", "search", "--scheme", "--kind", "kill", "--wanted", "1D=2,3G=2", "--seed", "3",
                      "--reality-check", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    answer = jsonOf(r);
    EXPECT_FALSE(answer.contains(QStringLiteral("best_real_rate")));
    int checked = 0;
    for (const QJsonValue& v : answer.value(QStringLiteral("categories")).toArray()) {
        const QJsonObject c = v.toObject();
        const bool searched = c.value(QStringLiteral("verified")).toInteger() > 0;
        EXPECT_EQ(c.value(QStringLiteral("best_real_rate")).isDouble(), searched);
        EXPECT_EQ(c.value(QStringLiteral("best_shuffled_rate")).isDouble(), searched);
        checked += c.contains(QStringLiteral("reality_check"));
    }
    EXPECT_EQ(checked, 2);

    EXPECT_EQ(runCli(temp, {"search", "--category", "1D", "--kind", "kill", "--reality-check", "0"}).exitCode, 1);
}

TEST(SearchCli, WalksTheSearchThenTheCalculationForwardAndStoresNothing)
{
    TempStore temp;
    fill(temp, 400);
    const QStringList walk = {"--json", "walkforward", "--search", "--category", "2D", "--kind", "kill", "--candidates",
                              "400", "--periods", "3", "--seed", "5", "--thresholds", kOpen, "--window", "100"};
    auto r = runCli(temp, walk + QStringList{"--threads", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject answer = jsonOf(r);
    const QJsonArray periods = answer.value(QStringLiteral("periods")).toArray();
    ASSERT_EQ(periods.size(), 3);
    for (const QJsonValue& v : periods) {
        const QJsonObject p = v.toObject();
        // Every candidate passes: each table lists its 400, less a code drawn twice.
        EXPECT_GT(p.value(QStringLiteral("found")).toInt(), 780);
        EXPECT_LE(p.value(QStringLiteral("found")).toInt(), 800);
        EXPECT_EQ(p.value(QStringLiteral("slots")).toArray().size(), 2);
    }
    EXPECT_EQ(answer.value(QStringLiteral("seed")).toString(), QStringLiteral("5"));
    EXPECT_EQ(answer.value(QStringLiteral("summary")).toObject().value(QStringLiteral("no_prediction")).toInt(), 0);
    EXPECT_EQ(runCli(temp, walk + QStringList{"--threads", "1"}).out, r.out);
    EXPECT_EQ(formulaCount(temp, {1, false}) + formulaCount(temp, {2, false}), 0);

    EXPECT_EQ(runCli(temp, {"walkforward", "--category", "1D", "--kind", "kill", "--candidates", "5"}).exitCode, 2);
    EXPECT_EQ(runCli(temp, {"walkforward", "--search", "--category", "1D", "--kind", "kill", "--select", "1"}).exitCode, 2);
    EXPECT_EQ(runCli(temp, {"walkforward", "--search", "--category", "1D", "--kind", "kill", "--candidates", "0"}).exitCode, 1);
}
