#pragma once
// The selection flags of the listed formulas (bolGsSel), keyed by the formula's idx so that a
// list holding formulas of both kinds keeps each formula's own flag. Only selected formulas
// take part in a calculation by the selected-formula method. Flags live in memory only.

#include <map>
#include <vector>

namespace qeltaro {

class FormulaSelection {
public:
    bool isSelected(int idx) const
    {
        const auto it = flags_.find(idx);
        return it != flags_.end() && it->second;
    }
    void set(int idx, bool selected) { flags_[idx] = selected; }
    void clear() { flags_.clear(); }

    void selectAll(const std::vector<int>& idxs)
    {
        for (int idx : idxs)
            flags_[idx] = true;
    }
    void invert(const std::vector<int>& idxs)
    {
        for (int idx : idxs)
            flags_[idx] = !isSelected(idx);
    }
    // The selected ones among `idxs`, in the given order.
    std::vector<int> selectedAmong(const std::vector<int>& idxs) const
    {
        std::vector<int> out;
        for (int idx : idxs) {
            if (isSelected(idx))
                out.push_back(idx);
        }
        return out;
    }

private:
    std::map<int, bool> flags_;
};

}  // namespace qeltaro
