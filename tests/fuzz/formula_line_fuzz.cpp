// The formula line parser and the translator: any line splits without fault, whatever the
// source and the current kind; a line the check accepts names one of the nine categories and
// compiles, and an accepted file line holds only the characters formula files may use.

#include "domain/parameter_catalogue.h"
#include "fuzz_input.h"
#include "language/expression.h"
#include "language/formula_line.h"

#include <cstdlib>

using namespace qeltaro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ensureApplication();
    const QString text = fuzz::textOf(data, size);
    if (cutHitRunTail(text).contains(u"连准"))
        std::abort();
    for (LineSource source : {LineSource::Typed, LineSource::File}) {
        for (Kind currentKind : kAllKinds) {
            const ParsedLine line = parseFormulaLine(text, source, currentKind);
            if (!line.statement && line.kind != currentKind)
                std::abort();  // a header line has no kind of its own
            if (line.code != translateToCode(line.expression).trimmed())
                std::abort();
            const LineCheck check = checkLine(line, source);
            if (check.ok() != check.reason.isEmpty())
                std::abort();
            if (!check.ok()) {
                (void)check.unrecognisedEntry(line);
                continue;
            }
            if (line.text.isEmpty() || !line.category || !compileFormula(line.code))
                std::abort();
            if (source == LineSource::File && firstDisallowedCharacter(line.code) >= 0)
                std::abort();
        }
    }
    return 0;
}
