#include "large_page_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace qeltaro::cli {

void useLargePageHeap()
{
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    constexpr int kReach = 64 << 20;
    // Every block below 32 MB from the one heap, the heap grown 64 MB at a time and freed memory
    // kept: so the whole reach is one region, advised once, and nothing is faulted in twice.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, kReach);
    mallopt(M_TOP_PAD, kReach);
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* volatile grow = std::malloc(256 << 10);  // volatile: a block never used is not elided
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    std::free(grow);
    const std::uintptr_t from = (before + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = after & ~(kLargePage - 1);
    // Untouched pages cost nothing: only the 2 MB pages the command writes are ever given it.
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace qeltaro::cli
