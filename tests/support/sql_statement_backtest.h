#pragma once
// The statement-per-formula back-test run inside SQLite, as a reference for the in-memory engine
// and as the benchmark's comparison: per formula one transaction that writes the formula's value
// into every history row (UPDATE ... SET canshu = <expression>), carries it to the next row,
// marks the hit rows with one UPDATE, and counts the runs row by row over the scored rows.
// The expressions are SQLite's own: MOD becomes qmod(a, b), registered here with the program's
// rule (both operands rounded half to even, the remainder with the dividend's sign, no value
// for a divisor of 0), written independently of the program's own code.

#include "backtest/formula_stats_table.h"
#include "domain/backtest_window.h"
#include "domain/category.h"
#include "domain/draw_record.h"
#include "store/schema.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace qeltaro::test {

class SqlStatementBacktest {
public:
    explicit SqlStatementBacktest(const std::vector<DrawRecord>& rows)
    {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
            throw std::runtime_error("cannot open an in-memory database");
        sqlite3_create_function(db_, "qmod", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &qmod, nullptr, nullptr);
        std::string create = "CREATE TABLE Lishi (strQQH TEXT PRIMARY KEY";
        std::string insert = "INSERT INTO Lishi VALUES (?1";
        int parameter = 1;
        for (const QString& column : historyValueColumns()) {
            create += ", " + column.toStdString() + " INTEGER";
            insert += ", ?" + std::to_string(++parameter);
        }
        create += ", canshu REAL, PreCanshu REAL, GSCS INTEGER)";
        insert += ", NULL, NULL, 0)";
        exec(create);
        exec("BEGIN");
        sqlite3_stmt* stmt = prepare(insert);
        for (const DrawRecord& row : rows) {
            const std::string period = row.period.toStdString();
            sqlite3_bind_text(stmt, 1, period.c_str(), -1, SQLITE_TRANSIENT);
            for (int i = 0; i < kParameterCount; ++i)
                sqlite3_bind_int(stmt, i + 2, row.values[size_t(i)]);
            step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        exec("COMMIT");
        rowCount_ = int(rows.size());
        // The previous row by the period index: faster in SQLite than lag() joined back.
        carry_ = prepare("UPDATE Lishi SET PreCanshu = (SELECT p.canshu FROM Lishi AS p "
                         "WHERE p.strQQH < Lishi.strQQH ORDER BY p.strQQH DESC LIMIT 1)");
        clearHits_ = prepare("UPDATE Lishi SET GSCS = 0");
        newest_ = prepare("SELECT canshu FROM Lishi ORDER BY strQQH DESC LIMIT 1");
    }
    ~SqlStatementBacktest()
    {
        for (sqlite3_stmt* stmt : {carry_, clearHits_, newest_, scan_})
            sqlite3_finalize(stmt);
        for (auto& hit : hitStatements_)
            sqlite3_finalize(hit.stmt);
        sqlite3_close(db_);
    }
    SqlStatementBacktest(const SqlStatementBacktest&) = delete;
    SqlStatementBacktest& operator=(const SqlStatementBacktest&) = delete;

    // The expression's value on every row in period order; NaN for NULL.
    std::vector<double> evaluate(const std::string& expression)
    {
        exec("UPDATE Lishi SET canshu = " + expression);
        std::vector<double> values;
        sqlite3_stmt* stmt = prepare("SELECT canshu FROM Lishi ORDER BY strQQH");
        while (sqlite3_step(stmt) == SQLITE_ROW)
            values.push_back(columnValue(stmt, 0));
        sqlite3_finalize(stmt);
        return values;
    }

    // One formula back-tested by statements. `digitOf` is the SQL that turns the carried value
    // into its digit: qmod(PreCanshu, 10) in general, or SQLite's faster % where every value is
    // an integer.
    FormulaStats backtest(const std::string& expression, bool kill, const Category& category,
                          const BacktestSettings& settings, const std::string& digitOf = "qmod(PreCanshu, 10)")
    {
        exec("BEGIN");
        exec("UPDATE Lishi SET canshu = " + expression);
        step(carry_);
        sqlite3_reset(carry_);
        step(clearHits_);
        sqlite3_reset(clearHits_);
        sqlite3_stmt* hit = hitStatement(kill, category, digitOf);
        step(hit);
        sqlite3_reset(hit);

        FormulaStats stats;
        const int first = firstScoredRow(rowCount_, settings);
        if (!scan_)
            scan_ = prepare("SELECT GSCS FROM Lishi ORDER BY strQQH LIMIT -1 OFFSET ?1");
        sqlite3_bind_int(scan_, 1, first);
        long long j = 0;
        int hitRun = 0;
        int missRun = 0;
        while (sqlite3_step(scan_) == SQLITE_ROW) {
            ++j;
            const long long weight = settings.weightedRate ? j * j : 1;
            stats.totalSum += weight;
            if (sqlite3_column_int(scan_, 0) == 0) {
                hitRun = 0;
                ++missRun;
                if (stats.maxMissRun < missRun)
                    stats.maxMissRun = missRun;
            } else {
                missRun = 0;
                stats.hitSum += weight;
                ++hitRun;
                if (stats.maxHitRun < hitRun)
                    stats.maxHitRun = hitRun;
            }
        }
        sqlite3_reset(scan_);
        stats.scoredRows = int(j);
        stats.lastHitRun = hitRun;
        stats.lastMissRun = missRun;
        stats.rate = stats.totalSum > 0 ? float(double(stats.hitSum) / double(stats.totalSum) * 100.0) : 0.0f;

        if (sqlite3_step(newest_) == SQLITE_ROW) {
            const double value = columnValue(newest_, 0);
            if (!std::isnan(value)) {
                const double rounded = std::nearbyint(value);
                stats.next = QString::number(int(std::fmod(rounded, 10.0)));
            }
        }
        sqlite3_reset(newest_);
        exec("COMMIT");
        return stats;
    }

private:
    struct HitStatement {
        bool kill;
        Category category;
        std::string digitOf;
        sqlite3_stmt* stmt;
    };

    sqlite3_stmt* hitStatement(bool kill, const Category& category, const std::string& digitOf)
    {
        for (const auto& hit : hitStatements_) {
            if (hit.kill == kill && hit.category == category && hit.digitOf == digitOf)
                return hit.stmt;
        }
        // A kill hits where the digit differs from every tested position, a keep where it equals
        // one of them; a NULL digit satisfies neither.
        std::string where;
        const int from = 6 - category.positions;
        const int to = category.group ? 5 : 6 - category.positions;
        for (int p = from; p <= to; ++p) {
            if (!where.empty())
                where += kill ? " AND " : " OR ";
            where += "((" + digitOf + ") " + (kill ? "<>" : "=") + " L" + std::to_string(p) + "A)";
        }
        sqlite3_stmt* stmt = prepare("UPDATE Lishi SET GSCS = 1 WHERE " + where);
        hitStatements_.push_back({kill, category, digitOf, stmt});
        return stmt;
    }

    static void qmod(sqlite3_context* context, int, sqlite3_value** argv)
    {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
        const double divisor = std::nearbyint(sqlite3_value_double(argv[1]));
        if (divisor == 0) {
            sqlite3_result_null(context);
            return;
        }
        sqlite3_result_double(context, std::fmod(std::nearbyint(sqlite3_value_double(argv[0])), divisor));
    }

    static double columnValue(sqlite3_stmt* stmt, int column)
    {
        if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
            return std::numeric_limits<double>::quiet_NaN();
        return sqlite3_column_double(stmt, column);
    }

    void exec(const std::string& sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "unknown error";
            sqlite3_free(message);
            throw std::runtime_error(text + " in: " + sql);
        }
    }

    sqlite3_stmt* prepare(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        return stmt;
    }

    void step(sqlite3_stmt* stmt)
    {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }

    sqlite3* db_ = nullptr;
    int rowCount_ = 0;
    sqlite3_stmt* carry_ = nullptr;
    sqlite3_stmt* clearHits_ = nullptr;
    sqlite3_stmt* newest_ = nullptr;
    sqlite3_stmt* scan_ = nullptr;
    std::vector<HitStatement> hitStatements_;
};

}  // namespace qeltaro::test
