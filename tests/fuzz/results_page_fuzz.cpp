// The results page reader, HTML parser and marker and table rules: any page yields valid draws
// of the asked day only, in issue order.

#include "fuzz_input.h"
#include "history/results_page.h"
#include "io/html_text.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qeltaro::fuzz::ensureApplication();
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = qeltaro::visibleText(html);
    const QDate day(2016, 1, 21);
    const auto page = qeltaro::readDayPage(text, day, 1, QString(), qeltaro::Game{});
    int previous = 0;
    for (const auto& draw : page.draws) {
        if (draw.period.date != day || draw.period.issue <= previous || draw.period.issue > 120)
            std::abort();
        previous = draw.period.issue;
        for (int d : draw.digits)
            if (d < 0 || d > 9)
                std::abort();
    }
    (void)qeltaro::parseResultsBase(html.left(200));
    return 0;
}
