// The formula text file reader, from the file's bytes (UTF-8 with or without BOM, GB18030, or
// neither): every line is either stored or listed as unrecognised, only compiling formulas reach
// the tables, and each table that received formulas is numbered 1..n without duplicates.

#include "domain/category.h"
#include "store/schema.h"
#include "fuzz_input.h"
#include "language/expression.h"
#include "library/formula_entry.h"
#include "store/sqlite_database.h"
#include "store/store.h"

#include <QTemporaryDir>

#include <cstdlib>

using namespace qeltaro;

namespace {

Store& fuzzStore()
{
    static QTemporaryDir folder(fuzz::scratchFolderTemplate());
    static std::unique_ptr<Store> store = [] {
        auto opened = Store::open(folder.path());
        if (!opened)
            std::abort();
        fuzz::dropDurability(**opened);
        return std::move(*opened);
    }();
    return *store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ensureApplication();
    Store& store = fuzzStore();
    {
        Transaction emptying(store.database());
        for (const Category& category : Category::all()) {
            if (!store.database().exec(QStringLiteral("DELETE FROM %1").arg(formulaTableName(category))))
                std::abort();
        }
        if (!emptying.commit())
            std::abort();
    }
    const QString text = fuzz::textOf(data, size);
    auto report = importFormulaText(store, text, {Category{3, false}, Kind::Kill});
    if (!report)
        std::abort();  // a text is never refused as a whole: bad lines are listed
    if (report->stored + int(report->unrecognised.size()) != int(splitLines(text).size()))
        std::abort();
    for (const UnrecognisedLine& line : report->unrecognised) {
        if (line.lineNumber < 1 || line.reason.isEmpty())
            std::abort();
    }
    auto written = readFileBytes(report->unrecognisedFilePath);
    if (!written || splitLines(decodeText(*written)).size() != qsizetype(report->unrecognised.size()))
        std::abort();

    int rows = 0;
    for (const Category& category : Category::all()) {
        auto stmt = store.database().prepare(
            QStringLiteral("SELECT idx, gongshi, count(*) OVER (PARTITION BY BolKill, gongshi, gongshiCN) "
                           "FROM %1 ORDER BY idx").arg(formulaTableName(category)));
        if (!stmt)
            std::abort();
        int expectedIdx = 0;
        while (stmt->next()) {
            ++rows;
            if (stmt->integer(0) != ++expectedIdx || stmt->integer(2) != 1 || !compileFormula(stmt->text(1)))
                std::abort();
        }
        if (stmt->error())
            std::abort();
    }
    if (rows != report->stored - report->duplicates)
        std::abort();
    return 0;
}
