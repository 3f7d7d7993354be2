#include "search_options.h"

#include "calculation_options.h"
#include "history/draw_history.h"
#include "search/formula_search.h"
#include "search/search_job.h"
#include "search/search_category.h"
#include "search/search_words.h"

#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace qeltaro::cli {
namespace {

volatile std::sig_atomic_t interruptCount = 0;

extern "C" void onInterrupt(int)
{
    interruptCount = interruptCount + 1;
    if (interruptCount > 1) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
    }
}

}  // namespace

void SearchWindowOptions::addTo(CLI::App* command)
{
    command->add_option("--window", window, "newest periods scored: all or a number (default: setting JSQS)");
    auto* w = command->add_flag("--weighted", weighted, "rate weighted by period (setting ZqlJq True)");
    auto* p = command->add_flag("--plain", plain, "plain rate (setting ZqlJq False)");
    w->excludes(p);
}

Result<SearchWindow> SearchWindowOptions::resolve(Context& context) const
{
    SearchWindow result = SearchWindow::fromMirror(context.settings().read());
    if (Status s = readPeriodWindow(window, result.periodWindow); !s)
        return s.error();
    if (weighted)
        result.weightedRate = true;
    if (plain)
        result.weightedRate = false;
    return result;
}

Result<TailConstant> parseConstantOption(const std::string& text)
{
    if (text == "random")
        return TailConstant::randomDigit();
    bool ok = false;
    fromStd(text).trimmed().toDouble(&ok);
    if (!ok)
        return badInput(QStringLiteral("--constant 应为数字或 random，而不是“%1”").arg(fromStd(text)));
    return TailConstant::fromText(fromStd(text));
}

Result<FormulaForm> parseFormOption(const std::string& text)
{
    if (const auto form = formFromName(fromStd(text)))
        return *form;
    return badInput(QStringLiteral("--form 应为 prefix（[三星直选杀]A+B）或 suffix（A+B=下期杀三星直选），而不是“%1”")
                        .arg(fromStd(text)));
}

Result<int> parseSearchCategory(const std::string& text)
{
    auto category = parseCategory(text);
    if (!category)
        return category.error();
    return searchNumberOf(*category);
}

Result<WantedCounts> parseWantedCounts(const std::string& text)
{
    WantedCounts counts;
    for (const QString& part : fromStd(text).split(u',', Qt::SkipEmptyParts)) {
        const QStringList pair = part.split(u'=');
        const auto category = pair.size() == 2 ? Category::fromSuffix(pair[0].trimmed()) : std::nullopt;
        bool ok = false;
        const long long count = pair.size() == 2 ? pair[1].trimmed().toLongLong(&ok) : 0;
        if (!category || !ok || count < 0)
            return badInput(QStringLiteral("公式数量“%1”应写作 类别=非负整数，例如 3D=60").arg(part));
        counts[size_t(searchNumberOf(*category) - 1)] = count;
    }
    return counts;
}

Result<std::uint64_t> seedOption(const std::string& text)
{
    if (text.empty())
        return freshSearchSeed();
    bool ok = false;
    const std::uint64_t seed = fromStd(text).trimmed().toULongLong(&ok);
    if (!ok)
        return badInput(QStringLiteral("--seed 应为非负整数，而不是“%1”").arg(fromStd(text)));
    return seed;
}

Status readOperandsAndThresholds(const CLI::Option* operandsOption, int operands, const std::string& thresholds,
                                 std::optional<int>& operandCount, std::optional<SearchThresholds>& parsedThresholds)
{
    if (operandsOption->count() > 0) {
        auto count = parseOperandCount(QString::number(operands));
        if (!count)
            return count.error();
        operandCount = *count;
    }
    if (!thresholds.empty()) {
        auto parsed = parseThresholdList(fromStd(thresholds));
        if (!parsed)
            return parsed.error();
        parsedThresholds = *parsed;
    }
    return success();
}

Result<std::shared_ptr<const HistoryColumns>> searchHistory(Store& store)
{
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    if (Status s = checkSearchHistory(*history); !s)
        return s.error();
    return std::make_shared<const HistoryColumns>(std::move(*history));
}

InterruptWatch::InterruptWatch()
{
    interruptCount = 0;
    std::signal(SIGINT, onInterrupt);
}

InterruptWatch::~InterruptWatch()
{
    std::signal(SIGINT, SIG_DFL);
}

bool InterruptWatch::interrupted() const
{
    return interruptCount > 0;
}

ProgressLine::ProgressLine() : terminal_(::isatty(::fileno(stderr)) == 1) {}

ProgressLine::~ProgressLine()
{
    finish();
}

void ProgressLine::show(const QString& text)
{
    if (!terminal_)
        return;
    QTextStream(stderr) << "\r\x1b[K" << text;
    shown_ = true;
}

void ProgressLine::finish()
{
    if (terminal_ && shown_)
        QTextStream(stderr) << "\r\x1b[K";
    shown_ = false;
}

void TerminalProgress::report(int done, int total, const QString& what)
{
    line_.show(QStringLiteral("%1（%2%）").arg(what).arg(total > 0 ? 100 * qint64(done) / total : 0));
}

}  // namespace qeltaro::cli
