#include "draw_builder.h"

#include <random>

namespace qeltaro::test {
namespace {

std::vector<DrawRecord> derive(const std::vector<Digits>& draws)
{
    std::vector<DrawRecord> rows;
    PeriodNumber period = *PeriodNumber::parse(QStringLiteral("160121001"), Game{});
    std::optional<Digits> previous;
    for (const Digits& digits : draws) {
        rows.push_back(deriveDrawRecord(period, digits, previous, Game{}));
        previous = digits;
        period = period.next(Game{});
    }
    return rows;
}

}  // namespace

std::vector<DrawRecord> drawsOf(const QStringList& digitTexts)
{
    std::vector<Digits> draws;
    for (const QString& text : digitTexts)
        draws.push_back(*parseDigits(text));
    return derive(draws);
}

std::vector<DrawRecord> randomDraws(int count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<Digits> draws(size_t(std::max(0, count)));
    for (Digits& draw : draws) {
        for (int& d : draw)
            d = digit(random);
    }
    return derive(draws);
}

std::vector<DrawRecord> drawsWithPlantedLastDigit(int count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<Digits> draws(size_t(std::max(0, count)));
    for (size_t i = 0; i < draws.size(); ++i) {
        for (int& d : draws[i])
            d = digit(random);
        if (i > 0)
            draws[i][4] = (draws[i - 1][0] + draws[i - 1][4]) % 10;
    }
    return derive(draws);
}

}  // namespace qeltaro::test
