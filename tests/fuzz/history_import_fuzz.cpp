// The history text importer: any file is either imported whole or refused whole, and what is
// stored always reads back as valid periods and digits.

#include "fuzz_input.h"
#include "history/draw_history.h"
#include "store/history_table.h"
#include "store/store.h"

#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qeltaro::fuzz::ensureApplication();
    static QTemporaryDir folder(qeltaro::fuzz::scratchFolderTemplate());
    static std::unique_ptr<qeltaro::Store> store = [] {
        auto opened = qeltaro::Store::open(folder.path());
        if (!opened)
            std::abort();
        qeltaro::fuzz::dropDurability(**opened);
        return std::move(*opened);
    }();
    if (!store->database().exec(QStringLiteral("DELETE FROM Lishi")))
        std::abort();
    auto report = qeltaro::DrawHistory(*store).importText(qeltaro::fuzz::textOf(data, size));
    auto rows = qeltaro::HistoryTable(*store).all();
    if (!rows)
        std::abort();
    if (!report && !rows->empty())
        std::abort();  // a refused file stores nothing
    if (report && int(rows->size()) != report->stored)
        std::abort();
    for (const auto& row : *rows) {
        if (!qeltaro::PeriodNumber::parse(row.period, qeltaro::Game{}))
            std::abort();
        for (int d : row.digits())
            if (d < 0 || d > 9)
                std::abort();
    }
    return 0;
}
