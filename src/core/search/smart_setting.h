#pragma once
// Proposing thresholds ("公式参数智能设置"): random candidates of a category are evaluated as the
// search evaluates them, and five running values follow the best statistics seen, each moving
// half way toward every sample that is strictly better (a higher rate and longest hit run and
// final hit run, a lower longest miss run and final miss run). The result replaces thresholds
// 0 (lowest rate), 3 (highest longest miss), 4 (lowest longest hit), 7 (highest final miss) and
// 8 (lowest final hit); the other five stay as they were.
//
// One category on demand, or all of them in the order 10, 9, 8, 7, 5, 4, 3, 2, 1, each result
// meant to be saved as that category's thresholds. Runs on a worker thread.

#include "domain/history_columns.h"
#include "domain/kind.h"
#include "search/background_run.h"
#include "search/candidate_evaluator.h"
#include "search/candidate_generator.h"
#include "search/search_thresholds.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace qeltaro {

inline constexpr int kDefaultSampleCount = 20;
inline constexpr int kMaxSampleCount = 1000000;

class RunningBest {
public:
    void add(const CandidateStatistics& sample);
    int samples() const { return samples_; }

    float rate() const { return rate_; }
    float maxMiss() const { return maxMiss_; }
    float maxHit() const { return maxHit_; }
    float lastMiss() const { return lastMiss_; }
    float lastHit() const { return lastHit_; }

    // `base` with items 0, 3, 4, 7 and 8 replaced: the rate as it stands, the runs rounded half up,
    // and the final hit run 1 when its whole part is 0.
    SearchThresholds applyTo(const SearchThresholds& base) const;

private:
    int samples_ = 0;
    float rate_ = 0;
    float maxMiss_ = 0;
    float maxHit_ = 0;
    float lastMiss_ = 0;
    float lastHit_ = 0;
};

struct SmartSettingCategory {
    int searchNumber = 1;
    SearchThresholds base{};  // the category's thresholds before
    int operandCount = kDefaultOperandCount;
};

struct SmartSettingRequest {
    Kind kind = Kind::Kill;
    std::vector<SmartSettingCategory> categories;  // one, or the nine in the all-category order
    int samples = kDefaultSampleCount;
    TailConstant constant;
    SearchWindow window;
    std::uint64_t seed = 0;
};

struct SmartSettingResult {
    int searchNumber = 1;
    int samples = 0;
    RunningBest best;
    SearchThresholds thresholds{};
};

struct SmartSettingProgress {
    int category = 0;  // search number under way
    int samples = 0;   // taken for it so far
    CandidateStatistics latest;  // the latest sample's statistics
};

struct SmartSettingOutcome {
    std::vector<SmartSettingResult> results;  // the categories finished, in order
    bool stopped = false;
};

// The nine categories in the order the all-category run takes them.
const std::array<int, 9>& smartSettingAllOrder();

SmartSettingOutcome runSmartSetting(const HistoryColumns& history, const SmartSettingRequest& request,
                                    RunControl& control, const std::function<void(const SmartSettingProgress&)>& report = {},
                                    std::chrono::milliseconds interval = std::chrono::milliseconds(200));

class SmartSettingRun : public BackgroundRun<SmartSettingProgress, SmartSettingOutcome> {
public:
    SmartSettingRun(std::shared_ptr<const HistoryColumns> history, SmartSettingRequest request)
        : history_(std::move(history)), request_(std::move(request))
    {
    }
    ~SmartSettingRun() override { stopAndWait(); }

    void start();

private:
    std::shared_ptr<const HistoryColumns> history_;
    SmartSettingRequest request_;
};

}  // namespace qeltaro
