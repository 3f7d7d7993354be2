#pragma once
// The command's heap in 2 MB pages where the system lends them on request (transparent huge
// pages in "madvise" mode). A back-test over thousands of formulas touches a few thousand 4 KB
// pages, and on a virtual machine each first touch is a fault costing some microseconds: a
// quarter of such a command's time. Where large pages are not offered this changes nothing.

namespace qeltaro::cli {

// Call first in main, before anything large is allocated.
void useLargePageHeap();

}  // namespace qeltaro::cli
