#pragma once
// The sample history for the benchmarks: data/sample-history.txt in period order, with every
// derived column. A benchmark that cannot read it ends at once.

#include "domain/draw_record.h"
#include "domain/period_number.h"
#include "io/text_codec.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace qeltaro::bench {

// The sample's periods and digits, oldest first.
inline std::vector<std::pair<PeriodNumber, Digits>> sampleDraws()
{
    QFile file(QStringLiteral(QELTARO_SOURCE_DIR "/data/sample-history.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read data/sample-history.txt\n");
        std::exit(3);
    }
    std::vector<std::pair<QString, Digits>> lines;
    for (const QString& line : splitLines(decodeText(file.readAll()))) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() != 2)
            continue;
        const auto digits = parseDigits(fields[1]);
        if (!digits || !PeriodNumber::parse(fields[0], Game{})) {
            std::fprintf(stderr, "bad sample line: %s\n", qPrintable(line));
            std::exit(3);
        }
        lines.emplace_back(fields[0], *digits);
    }
    std::sort(lines.begin(), lines.end());
    std::vector<std::pair<PeriodNumber, Digits>> draws;
    for (const auto& [period, digits] : lines)
        draws.emplace_back(*PeriodNumber::parse(period, Game{}), digits);
    return draws;
}

// Draw records of `count` sample draws from the `first` on (the first has no draw before it).
inline std::vector<DrawRecord> sampleRecords(int first = 0, int count = 1 << 30)
{
    const auto draws = sampleDraws();
    first = std::clamp(first, 0, int(draws.size()));
    const int end = int(std::min<long long>(draws.size(), (long long)first + count));
    std::vector<DrawRecord> rows;
    std::optional<Digits> previous;
    for (int i = first; i < end; ++i) {
        rows.push_back(deriveDrawRecord(draws[size_t(i)].first, draws[size_t(i)].second, previous, Game{}));
        previous = draws[size_t(i)].second;
    }
    return rows;
}

}  // namespace qeltaro::bench
