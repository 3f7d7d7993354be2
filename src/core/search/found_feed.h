#pragma once
// The formulas a run has found so far, for a window that shows them while the run goes on: the
// run appends on its own thread, the window takes what is new on its thread. At the end of the
// run the feed holds exactly the outcome's found formulas, in the same order.

#include "search/found_formula.h"

#include <cstddef>
#include <mutex>
#include <vector>

namespace qeltaro {

class FoundFeed {
public:
    void append(const std::vector<FoundFormula>& found)
    {
        if (found.empty())
            return;
        std::lock_guard lock(mutex_);
        found_.insert(found_.end(), found.begin(), found.end());
    }

    // Copies of the formulas from position `from` (0-based) on.
    std::vector<FoundFormula> since(std::size_t from) const
    {
        std::lock_guard lock(mutex_);
        if (from >= found_.size())
            return {};
        return {found_.begin() + std::ptrdiff_t(from), found_.end()};
    }

    std::size_t size() const
    {
        std::lock_guard lock(mutex_);
        return found_.size();
    }

private:
    mutable std::mutex mutex_;
    std::vector<FoundFormula> found_;
};

}  // namespace qeltaro
