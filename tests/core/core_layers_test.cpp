// The core's folders are layers: common < domain < language < store, io < the use cases, which
// are ranked among themselves as they stand. A file may include its own folder and folders of a
// lower rank only. Every folder of src/core must have a rank. Above the core, the command line
// and the windows go through the use cases: they include no store table, and no code outside the
// store writes SQL.

#include "source_includes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <map>
#include <vector>

namespace {

const std::map<QString, int>& ranks()
{
    static const std::map<QString, int> table = {
        {QStringLiteral("common"), 0},       // result, progress, message excerpts, colours: no I/O
        {QStringLiteral("domain"), 1},       // vocabulary and maths: no store, no files, no network
        {QStringLiteral("language"), 2},     // the formula language
        {QStringLiteral("store"), 3},        // the only code that writes SQL
        {QStringLiteral("io"), 3},           // text files, HTTP, the data folder
        {QStringLiteral("settings"), 4},     // the use cases, from the ones that need none of the others
        {QStringLiteral("library"), 4},
        {QStringLiteral("aggregate"), 4},
        {QStringLiteral("money"), 4},
        {QStringLiteral("trend"), 4},
        {QStringLiteral("history"), 5},      // settings
        {QStringLiteral("backtest"), 5},     // aggregate
        {QStringLiteral("predictions"), 6},  // backtest, aggregate, money
        {QStringLiteral("search"), 6},       // backtest, history, settings
        {QStringLiteral("session"), 6},      // backtest, history, library, settings
        {QStringLiteral("export"), 7},       // predictions, backtest, aggregate
        {QStringLiteral("method"), 7},       // search, then predictions: the whole method walked forward
        {QStringLiteral("watch"), 7},        // predictions, history, settings
    };
    return table;
}

using Include = qeltaro::test::SourceInclude;

QString folderOf(const QString& path, const QString& ownFolder)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    return slash < 0 ? ownFolder : path.left(slash);
}

// One message per include that points to the same rank or above, and per folder without a rank.
QStringList layerViolations(const std::vector<Include>& includes)
{
    QStringList out;
    for (const Include& inc : includes) {
        const QString from = folderOf(inc.file, QString());
        const QString to = folderOf(inc.target, from);
        if (from == to)
            continue;
        const auto fromRank = ranks().find(from);
        const auto toRank = ranks().find(to);
        if (fromRank == ranks().end() || toRank == ranks().end())
            out << QStringLiteral("%1 includes %2: folder without a rank").arg(inc.file, inc.target);
        else if (toRank->second >= fromRank->second)
            out << QStringLiteral("%1 includes %2: above or beside its rank").arg(inc.file, inc.target);
    }
    return out;
}

// One message per include of the store's tables, schema or database layer by a front end.
QStringList frontEndStoreIncludes(const std::vector<Include>& includes)
{
    static const QRegularExpression table(QStringLiteral("^store/(\\w+_table|schema|sqlite_database|in_transaction)\\.h$"));
    QStringList out;
    for (const Include& inc : includes) {
        if (table.match(inc.target).hasMatch())
            out << QStringLiteral("%1 includes %2").arg(inc.file, inc.target);
    }
    return out;
}

// SQL statements written in a string: a statement's first words.
bool holdsSql(const QString& line)
{
    static const QRegularExpression statement(QStringLiteral(
        "\"[^\"]*\\b(SELECT\\b[^\"]*\\bFROM\\b|INSERT\\s+(OR\\s+\\w+\\s+)?INTO\\b|UPDATE\\s+\\w+\\s+SET\\b|"
        "DELETE\\s+FROM\\b|CREATE\\s+(UNIQUE\\s+)?(TABLE|INDEX)\\b|DROP\\s+(TABLE|INDEX)\\b|PRAGMA\\s+\\w+|VACUUM\\b)"));
    return statement.match(line).hasMatch();
}

// "file:line" of each line holding SQL below `root`, but in `allowed`.
QStringList sqlOutside(const QString& root, const QString& allowed)
{
    QStringList out;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(root.size() + 1);
        if (relative.startsWith(allowed))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (holdsSql(lines[i]))
                out << QStringLiteral("%1:%2").arg(relative).arg(i + 1);
        }
    }
    return out;
}

}  // namespace

TEST(CoreLayersTest, EveryIncludeOfTheCorePointsToALowerRank)
{
    const auto includes = qeltaro::test::quotedIncludes(qeltaro::test::sourcePath(QStringLiteral("src/core")));
    ASSERT_GT(includes.size(), 300u) << "the core's sources were not found";
    const QStringList violations = layerViolations(includes);
    EXPECT_TRUE(violations.isEmpty()) << violations.join(QLatin1Char('\n')).toStdString();
}

TEST(CoreLayersTest, TheCheckRefusesIncludesUpwardBesideAndOfUnknownFolders)
{
    EXPECT_TRUE(layerViolations({
        {"domain/hit_rule.h", "domain/category.h"},
        {"domain/hit_rule.h", "common/result.h"},
        {"language/expression.h", "domain/predicted_digit.h"},
        {"store/schema.cpp", "domain/category.h"},
        {"history/draw_history.cpp", "store/store.h"},
        {"history/draw_history.cpp", "io/text_codec.h"},
        {"search/scheme_run.h", "backtest/holdout.h"},
        {"export/journal_sheet.h", "predictions/prediction_journal.h"},
        {"search/run_record.cpp", "run_record.h"},
    }).isEmpty());

    EXPECT_EQ(layerViolations({{"domain/hit_rule.h", "language/expression.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"store/history_table.h", "history/draw_history.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"store/store.cpp", "io/text_codec.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"common/result.h", "domain/category.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"formula/category.h", "common/result.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"session/first_start.cpp", "gui/app/main_window.h"}}).size(), 1);
    // Beside: two use cases of one rank; up: a lower rank reaching a higher one.
    EXPECT_EQ(layerViolations({{"search/search_run.cpp", "predictions/walk_forward.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"backtest/holdout.cpp", "history/draw_history.h"}}).size(), 1);
    EXPECT_EQ(layerViolations({{"predictions/walk_forward.cpp", "export/journal_sheet.h"}}).size(), 1);
}

TEST(CoreLayersTest, TheFrontEndsGoThroughTheUseCasesAndOnlyTheStoreWritesSql)
{
    for (const char* frontEnd : {"src/cli", "src/gui", "src/app"}) {
        const auto includes = qeltaro::test::quotedIncludes(qeltaro::test::sourcePath(QLatin1String(frontEnd)));
        const QStringList violations = frontEndStoreIncludes(includes);
        EXPECT_TRUE(violations.isEmpty()) << frontEnd << ":\n" << violations.join(QLatin1Char('\n')).toStdString();
    }
    const QStringList sql = sqlOutside(qeltaro::test::sourcePath(QStringLiteral("src")), QStringLiteral("core/store/"));
    EXPECT_TRUE(sql.isEmpty()) << sql.join(QLatin1Char('\n')).toStdString();

    // The checks themselves, on what they must find and what they must let pass.
    EXPECT_EQ(frontEndStoreIncludes({{"app/main_window.cpp", "store/formula_table.h"},
                                     {"calc_command.cpp", "store/sqlite_database.h"},
                                     {"calc_command.cpp", "store/schema.h"},
                                     {"calc_command.cpp", "store/store.h"},
                                     {"calc_command.cpp", "library/formula_library.h"}})
                  .size(),
              3);
    EXPECT_TRUE(holdsSql(QStringLiteral("auto s = db.prepare(QStringLiteral(\"SELECT count(*) FROM Lishi\"));")));
    EXPECT_TRUE(holdsSql(QStringLiteral("exec(\"DELETE FROM Errarr\")")));
    EXPECT_TRUE(holdsSql(QStringLiteral("\"INSERT OR REPLACE INTO Caizhong (name) VALUES (?1)\"")));
    EXPECT_TRUE(holdsSql(QStringLiteral("\"UPDATE Lishi SET canshu = 1\"")));
    EXPECT_TRUE(holdsSql(QStringLiteral("\"CREATE UNIQUE INDEX IF NOT EXISTS x ON y(z)\"")));
    EXPECT_FALSE(holdsSql(QStringLiteral("// Select the formulas from the list; update the window.")));
    EXPECT_FALSE(holdsSql(QStringLiteral("\"history update\", \"select=1-4,7\"")));
}
