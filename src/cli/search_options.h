#pragma once
// What the search commands (search, smart-set, search-settings) share: reading their options,
// the history a search runs on, the progress line on a terminal, and Ctrl-C as "stop".

#include "cli_context.h"

#include "common/progress.h"
#include "domain/history_columns.h"
#include "search/candidate_evaluator.h"
#include "search/candidate_generator.h"
#include "search/scheme_settings.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace qeltaro::cli {

// --window all|N, --weighted, --plain over the settings JSQS and ZqlJq.
struct SearchWindowOptions {
    std::string window;
    bool weighted = false;
    bool plain = false;

    void addTo(CLI::App* command);
    Result<SearchWindow> resolve(Context& context) const;
};

Result<TailConstant> parseConstantOption(const std::string& text);
Result<FormulaForm> parseFormOption(const std::string& text);
// A search number 1..5, 7..10 from a category suffix.
Result<int> parseSearchCategory(const std::string& text);
// "1D=60,2G=30": wanted counts of the named categories; the others have none.
Result<WantedCounts> parseWantedCounts(const std::string& text);
// A seed given as text, or a fresh one from the system's entropy.
Result<std::uint64_t> seedOption(const std::string& text);
// --operands (when `operandsOption` was given) and --thresholds (when not empty) into the two
// optionals, each checked; what is not given is left as it is.
Status readOperandsAndThresholds(const CLI::Option* operandsOption, int operands, const std::string& thresholds,
                                 std::optional<int>& operandCount, std::optional<SearchThresholds>& parsedThresholds);

// The error of the first of `results` that failed, in the order given.
template <typename... Results>
std::optional<Error> firstError(const Results&... results)
{
    std::optional<Error> error;
    ((error || results ? void() : void(error = results.error())), ...);
    return error;
}

// The history as columns; refused when there are fewer than two draws to score against.
Result<std::shared_ptr<const HistoryColumns>> searchHistory(Store& store);

// Ctrl-C asks the running search to stop (it then reports what it found); a second Ctrl-C ends
// the program at once.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    bool interrupted() const;
};

// One progress line on stderr, rewritten in place, when stderr is a terminal.
class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine();
    void show(const QString& text);
    void finish();

private:
    bool terminal_ = false;
    bool shown_ = false;
};

// A step-by-step run's progress on the progress line, with Ctrl-C as "stop": what is under way
// and how far the whole has come.
class TerminalProgress : public Progress {
public:
    void report(int done, int total, const QString& what) override;
    bool cancelled() const override { return interrupt_.interrupted(); }

private:
    InterruptWatch interrupt_;
    ProgressLine line_;
};

// Starts a run and waits for its end, its progress on the line (`describe` gives the text; an
// empty one leaves the line as it is) and Ctrl-C asking it to stop.
template <typename Run, typename Describe>
void waitForRun(Run& run, const Describe& describe)
{
    InterruptWatch interrupt;
    ProgressLine line;
    run.start();
    while (!run.finished()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (interrupt.interrupted())
            run.stop();
        if (const QString text = describe(run.progress()); !text.isEmpty())
            line.show(text);
    }
    run.wait();
    line.finish();
}

}  // namespace qeltaro::cli
