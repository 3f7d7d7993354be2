#include "history/history_shuffle.h"

#include "domain/random_stream.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace qeltaro {

std::vector<int> shuffledOrder(int rows, std::uint64_t seed, int fromRow)
{
    std::vector<int> order(size_t(std::max(rows, 0)));
    std::iota(order.begin(), order.end(), 0);
    fromRow = std::clamp(fromRow, 0, std::max(rows, 0));
    RandomStream random(seed, 0x5348554646ull);  // a stream of its own, apart from the candidates'
    for (int i = rows - 1; i > fromRow; --i) {
        const int j = fromRow + random.below(std::uint32_t(i - fromRow + 1));
        std::swap(order[size_t(i)], order[size_t(j)]);
    }
    return order;
}

HistoryColumns shuffledHistory(const HistoryColumns& history, std::uint64_t seed, int fromRow)
{
    const std::vector<int> order = shuffledOrder(history.rowCount(), seed, fromRow);
    const PeriodNumber anyPeriod{QDate(2000, 1, 1), 1};  // its columns are replaced below
    std::vector<DrawRecord> records;
    records.reserve(order.size());
    std::optional<Digits> previous;
    for (int row = 0; row < history.rowCount(); ++row) {
        const Digits digits = history.digits(order[size_t(row)]);
        DrawRecord record = deriveDrawRecord(anyPeriod, digits, previous, Game{});
        const DrawRecord own = history.record(row);
        record.period = own.period;
        std::copy(own.values.begin() + kFirstPeriodColumn, own.values.end(), record.values.begin() + kFirstPeriodColumn);
        records.push_back(record);
        previous = digits;
    }
    return HistoryColumns(records);
}

}  // namespace qeltaro
