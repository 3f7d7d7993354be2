#pragma once
// Histories made up for tests: draws with consecutive periods and every derived column.

#include "domain/draw_record.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace qeltaro::test {

// One draw per text ("12495": 万位 1 .. 个位 5), periods from 160121001 on.
std::vector<DrawRecord> drawsOf(const QStringList& digitTexts);
// `count` draws of random digits from a seeded generator.
std::vector<DrawRecord> randomDraws(int count, std::uint32_t seed);
// Random draws except that each 个位 is (万位 + 个位) MOD 10 of the draw before: the next digit is
// a function of the previous draw, which the formula 万位码+个位码 keeps exactly.
std::vector<DrawRecord> drawsWithPlantedLastDigit(int count, std::uint32_t seed);

}  // namespace qeltaro::test
