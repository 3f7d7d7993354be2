#pragma once
// SQLite's file system with a look at every call that changes a file on disk: a write, a
// truncation, a file created, a file deleted. While a FileSteps object lives, every connection
// opened afterwards goes through it; connections opened before keep the real file system.
// Memory-mapped writes would bypass it, so it offers no mapping.

#include <functional>

namespace qeltaro::test {

enum class FileStep { Write, Truncate, Create, Delete };

class FileSteps {
public:
    // `before` sees each step before it is made; it answers SQLITE_OK to let the step through,
    // or an SQLite error code that the step then returns without touching the file.
    explicit FileSteps(std::function<int(FileStep)> before);
    ~FileSteps();
    FileSteps(const FileSteps&) = delete;
    FileSteps& operator=(const FileSteps&) = delete;
};

}  // namespace qeltaro::test
