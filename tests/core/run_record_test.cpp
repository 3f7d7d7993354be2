#include "search/run_record.h"

#include "calculation_fixtures.h"
#include "draw_builder.h"
#include "history/draw_history.h"
#include "run_to_end.h"
#include "store/history_table.h"
#include "test_support.h"

#include <QDir>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

const QDateTime kStarted(QDate(2024, 5, 1), QTime(9, 30));

}  // namespace

TEST(RunRecord, ASearchRecordRepeatsTheRun)
{
    const HistoryColumns history = test::sampleHistoryColumns(500);
    SearchRequest request;
    request.shape = {{2, true}, Kind::Keep, 5, {false, -7}, FormulaForm::Suffix};
    request.thresholds = {20, 100, 0, 20, 2, 32768, 0, 32768, 1, 32768};
    request.window = {200, false};
    request.stopCount = 9;
    request.seed = 18446744073709551557ull;  // larger than a JSON number holds exactly
    request.threads = 2;
    request.holdoutPeriods = 60;  // changes what is screened, so the replay must hold it out too
    const SearchOutcome outcome = test::runToEnd(history, request);
    ASSERT_EQ(outcome.found.size(), 9u);

    test::TempStore temp;
    auto path = writeRunRecord(temp.dataDir(), searchRunRecord(request, outcome, fingerprintOf(history), kStarted));
    ASSERT_TRUE(path);
    EXPECT_TRUE(path->startsWith(temp.dataDir() + QStringLiteral("/search-runs/")));
    EXPECT_TRUE(path->endsWith(QStringLiteral("-2G-keep.json")));
    const QJsonObject json = QJsonDocument::fromJson(test::readFile(*path)).object();
    EXPECT_EQ(json.value(QStringLiteral("history")).toObject().value(QStringLiteral("rows")).toInt(), 500);
    EXPECT_EQ(json.value(QStringLiteral("found_count")).toInt(), 9);
    EXPECT_GT(json.value(QStringLiteral("candidates_per_second")).toDouble(), 0);

    auto replay = readRunRecord(*path);
    ASSERT_TRUE(replay) << replay.error().message.toStdString();
    EXPECT_EQ(replay->history, fingerprintOf(history));
    EXPECT_EQ(replay->verified, outcome.verified);
    SearchRequest again = std::get<SearchRequest>(replay->request);
    EXPECT_EQ(again.seed, request.seed);
    EXPECT_EQ(again.shape.constant, request.shape.constant);
    EXPECT_EQ(again.thresholds, request.thresholds);
    EXPECT_EQ(again.window, request.window);
    EXPECT_EQ(again.holdoutPeriods, 60);
    EXPECT_TRUE(again.shuffledControl);
    again.threads = 1;
    const SearchOutcome repeated = test::runToEnd(history, again);
    EXPECT_EQ(repeated.verified, outcome.verified);
    EXPECT_EQ(foundCodes(repeated.found), replay->found);
    EXPECT_EQ(foundCodes(repeated.found), foundCodes(outcome.found));
}

TEST(RunRecord, ASchemeRecordRepeatsTheRunUpToWhereItStopped)
{
    const HistoryColumns history = test::sampleHistoryColumns(400);
    SchemeRequest request;
    for (int number = 1; number <= 10; ++number) {
        request.thresholds[size_t(number - 1)] = {0, 100, 0, 32768, 0, 32768, 0, 32768, 0, 32768};
        request.operandCounts[size_t(number - 1)] = 4;
    }
    request.wanted[1] = 2;
    request.wanted[7] = 3;
    request.held[7] = 1;
    request.mode = CountMode::Hold;
    request.seed = 5;
    const SchemeOutcome outcome = test::runToEnd(history, request);
    ASSERT_EQ(outcome.found.size(), 4u);

    test::TempStore temp;
    auto path = writeRunRecord(temp.dataDir(), schemeRunRecord(request, outcome, fingerprintOf(history), kStarted));
    ASSERT_TRUE(path);
    auto replay = readRunRecord(*path);
    ASSERT_TRUE(replay) << replay.error().message.toStdString();
    const SchemeOutcome repeated = test::runToEnd(history, std::get<SchemeRequest>(replay->request));
    EXPECT_EQ(foundCodes(repeated.found), replay->found);
    EXPECT_EQ(repeated.verified(), replay->verified);
}

TEST(RunRecord, BrokenRecordsAreRefusedWithTheirFault)
{
    test::TempStore temp;
    struct Case {
        const char* json;
        const char* says;
    };
    for (const Case& c : {
             Case{"not json", "不是有效的JSON"},
             Case{R"({"format":"other"})", "不是本程序的搜索运行记录"},
             Case{R"({"format":"qeltaro-search-run","version":1,"history":{"rows":3,"sha256":"x"},"seed":"12",
                  "kind":"kill","window":300,"weighted":true,"constant":"0","form":"prefix","verified":"10",
                  "type":"search","category":"6G","operands":8})", "category"},
             Case{R"({"format":"qeltaro-search-run","version":1,"history":{"rows":3,"sha256":"x"},"seed":"12",
                  "kind":"maybe"})", "kind"},
         }) {
        const QString path = temp.path(QStringLiteral("record.json"));
        test::writeFile(path, QByteArray(c.json));
        auto read = readRunRecord(path);
        ASSERT_FALSE(read) << c.json;
        EXPECT_TRUE(read.error().message.contains(QString::fromUtf8(c.says))) << read.error().message.toStdString();
    }
    EXPECT_FALSE(readRunRecord(temp.path(QStringLiteral("missing.json"))));
}

TEST(RunRecord, TheFingerprintFollowsEveryDraw)
{
    const HistoryColumns a(test::drawsOf(QStringList{"12345", "67890", "11111"}));
    const HistoryColumns b(test::drawsOf(QStringList{"12345", "67890", "11112"}));
    EXPECT_EQ(fingerprintOf(a).rows, 3);
    EXPECT_EQ(fingerprintOf(a).firstPeriod, QStringLiteral("160121001"));
    EXPECT_EQ(fingerprintOf(a).lastPeriod, QStringLiteral("160121003"));
    EXPECT_NE(fingerprintOf(a).digest, fingerprintOf(b).digest);
    EXPECT_EQ(fingerprintOf(a), fingerprintOf(HistoryColumns(test::drawsOf(QStringList{"12345", "67890", "11111"}))));
}
