#pragma once
// Work on the store done whole or not at all.

#include "store/sqlite_database.h"

#include <type_traits>

namespace qeltaro {

// Runs `work` (returning a Status or a Result) in one transaction and commits when it succeeds;
// when the begin, the work or the commit fails, the file stays as it was and the error is returned.
template <typename Work>
std::invoke_result_t<Work&> inTransaction(Database& db, Work&& work)
{
    Transaction transaction(db);
    if (!transaction.begun())
        return transaction.begun().error();
    auto done = work();
    if (!done)
        return done;
    if (Status s = transaction.commit(); !s)
        return s.error();
    return done;
}

}  // namespace qeltaro
