#pragma once
// One watcher per data folder: a lock file beside the store that names the holder's process.
// The hold of a process that died is taken over; a living holder is named in the refusal.

#include "common/result.h"

#include <QString>

#include <memory>

class QLockFile;

namespace qeltaro {

class WatchHold {
public:
    static Result<std::unique_ptr<WatchHold>> take(const QString& dataDir);
    ~WatchHold();

private:
    explicit WatchHold(std::unique_ptr<QLockFile> lock);
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace qeltaro
