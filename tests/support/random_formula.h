#pragma once
// Random formulas in code form, for the tests that evaluate one formula two ways: a column, then
// 1 to `maxTerms` terms, each after + - * / or MOD: a column, a digit, or (column - digit).

#include "domain/parameter_catalogue.h"

#include <QString>

#include <random>

namespace qeltaro::test {

inline QString randomFormula(std::mt19937& random, int maxTerms)
{
    const char* operators[] = {"+", "-", "*", "/", " MOD "};
    QString code = parameterCode(int(random() % 101) + 1);
    const int terms = 1 + int(random() % unsigned(maxTerms));
    for (int t = 0; t < terms; ++t) {
        code += QString::fromLatin1(operators[random() % 5]);
        if (random() % 3 == 0)
            code += QStringLiteral("(%1-%2)").arg(parameterCode(int(random() % 101) + 1)).arg(random() % 7);
        else
            code += random() % 2 ? parameterCode(int(random() % 101) + 1) : QString::number(random() % 10);
    }
    return code;
}

}  // namespace qeltaro::test
