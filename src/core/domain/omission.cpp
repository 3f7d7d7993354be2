#include "domain/omission.h"

namespace qeltaro {

int OmissionTracker::longestMissing() const
{
    // The longest omission belongs to the value seen least recently.
    int coldest = 0;
    for (int v = 1; v < valueCount(); ++v) {
        if (lastSeen_[size_t(v)] < lastSeen_[size_t(coldest)])
            coldest = v;
    }
    return coldest;
}

}  // namespace qeltaro
