// The expression compiler and its evaluation: any text either compiles or is refused with a
// message; a compiled formula evaluates on a row and over columns alike.

#include "domain/parameter_catalogue.h"
#include "fuzz_input.h"
#include "language/column_evaluator.h"
#include "language/expression.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qeltaro::fuzz::ensureApplication();
    const QString text = qeltaro::fuzz::textOf(data, size);
    for (const QString& code : {text, qeltaro::translateToCode(text)}) {
        auto compiled = qeltaro::compileFormula(code);
        if (!compiled) {
            if (compiled.error().message.isEmpty())
                std::abort();
            continue;
        }
        static const std::vector<qeltaro::DrawRecord> rows = [] {
            std::vector<qeltaro::DrawRecord> r;
            auto period = qeltaro::PeriodNumber::parse(QStringLiteral("160121001"), qeltaro::Game{});
            std::optional<qeltaro::Digits> previous;
            for (int i = 0; i < 4; ++i) {
                const qeltaro::Digits d{i, (i * 3) % 10, 9 - i, 0, 5};
                r.push_back(qeltaro::deriveDrawRecord(*period, d, previous, qeltaro::Game{}));
                previous = d;
                period = period->next(qeltaro::Game{});
            }
            return r;
        }();
        static const qeltaro::HistoryColumns history(rows);
        qeltaro::ColumnEvaluator evaluator;
        std::vector<double> values;
        evaluator.evaluate(*compiled, history, values);
        for (int r = 0; r < history.rowCount(); ++r) {
            const double single = compiled->evaluate(history.rowValues(r));
            const double column = values[size_t(r)];
            if (std::isnan(single) != std::isnan(column) || (!std::isnan(single) && single != column))
                std::abort();
            (void)qeltaro::predictedDigit(column);
        }
    }
    return 0;
}
