#pragma once
// A full disk for SQLite, injected: while a FullDisk object lives, every connection opened
// afterwards writes through a file system that accepts a budget of write calls (database and
// journal together) and then answers every further write as a full disk does. Connections
// opened before keep the real file system.

#include "file_steps_vfs.h"

namespace qeltaro::test {

class FullDisk {
public:
    explicit FullDisk(int writesAllowed);

    // Writes tried so far, refused ones included; whether any was refused.
    int writesTried() const { return tried_; }
    bool refusedAny() const { return refused_; }

private:
    int allowed_ = 0;
    int tried_ = 0;
    bool refused_ = false;
    FileSteps steps_;
};

}  // namespace qeltaro::test
