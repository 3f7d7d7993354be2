#pragma once
// The options of qeltaro-cli search, read into the order of a manual search, a scheme search or
// the replay of a recorded run.

#include "search_options.h"

#include "search/formula_search.h"
#include "search/found_formula_save.h"
#include "search/run_record.h"

#include <optional>
#include <string>

namespace qeltaro::cli {

constexpr long long kDefaultStopCount = 50;  // the stop count box's first value

enum class SearchMode { Manual, Scheme, Replay };

struct SearchOptions {
    std::string category;
    std::string kind;
    long long count = kDefaultStopCount;
    std::uint64_t maxCandidates = 0;
    int operands = 0;
    std::string constant = "0";
    std::string form = "prefix";
    std::string thresholds;
    std::string seed;
    int threads = 0;
    std::string save;
    bool exportText = false;
    bool scheme = false;
    std::string wanted;
    std::string mode = "add";
    std::string replayRun;
    int holdout = 0;
    bool noControl = false;
    int realityCopies = 0;
    SearchWindowOptions window;

    CLI::Option* maxOption = nullptr;
    CLI::Option* operandsOption = nullptr;
    CLI::Option* realityOption = nullptr;

    // Read from the texts above.
    SearchMode searchMode = SearchMode::Manual;
    ManualSearchOrder manualOrder;
    SchemeSearchOrder schemeOrder;
    std::optional<RunReplay> replay;
    std::optional<SaveMode> saveMode;

    void bind(CLI::App* command);
    std::optional<QString> missing() const;
    Status read(Context& context);

private:
    Status readManual();
    Status readScheme();
    Status readRunOptions(Context& context);
};

}  // namespace qeltaro::cli
