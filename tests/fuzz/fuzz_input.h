#pragma once
// Turns fuzzer bytes into the texts the parsers meet: as UTF-8 or GB18030 text the way files
// are read, so every decoding path is exercised too; and gives store-writing targets a fast
// scratch store.

#include "io/text_codec.h"
#include "store/store.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace qeltaro::fuzz {

inline QString textOf(const std::uint8_t* data, std::size_t size)
{
    return decodeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
}

// Qt wants an application object for codecs and paths; one per process.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "qeltaro-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// Targets that write a store run thousands of transactions a second: in memory when the
// system offers a memory file system, without waiting for the disk, and with the journal in
// memory. Durability is not what they test.
inline QString scratchFolderTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QDir(shm).exists() ? shm + QStringLiteral("/qeltaro-fuzz-XXXXXX") : QDir::tempPath() + QStringLiteral("/qeltaro-fuzz-XXXXXX");
}

inline void dropDurability(Store& store)
{
    if (!store.database().exec(QStringLiteral("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY")))
        std::abort();
}

}  // namespace qeltaro::fuzz
