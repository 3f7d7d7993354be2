#pragma once
// The scores of a formula or a candidate compared field by field, so a failure names the field:
// the back-test's statistics and the search's fast statistics carry the same eight.

#include <gtest/gtest.h>

#include <string>

namespace qeltaro::test {

template <typename A, typename B>
void expectSameScores(const A& a, const B& b, const std::string& what)
{
    EXPECT_EQ(a.rate, b.rate) << what;
    EXPECT_EQ(a.hitSum, b.hitSum) << what;
    EXPECT_EQ(a.totalSum, b.totalSum) << what;
    EXPECT_EQ(a.scoredRows, b.scoredRows) << what;
    EXPECT_EQ(a.maxMissRun, b.maxMissRun) << what;
    EXPECT_EQ(a.maxHitRun, b.maxHitRun) << what;
    EXPECT_EQ(a.lastMissRun, b.lastMissRun) << what;
    EXPECT_EQ(a.lastHitRun, b.lastHitRun) << what;
}

}  // namespace qeltaro::test
