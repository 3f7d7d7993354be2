#pragma once
// A full disk for SQLite, injected: while a FullDisk object lives, every connection opened
// afterwards writes through a file system that accepts a budget of write calls (database and
// journal together) and then answers every further write as a full disk does. Connections
// opened before keep the real file system.

namespace qeltaro::test {

class FullDisk {
public:
    explicit FullDisk(int writesAllowed);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // Writes tried so far, refused ones included; whether any was refused.
    int writesTried() const;
    bool refusedAny() const;
};

}  // namespace qeltaro::test
