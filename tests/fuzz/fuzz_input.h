#pragma once
// Turns fuzzer bytes into the texts the parsers meet: as UTF-8 or GB18030 text the way files
// are read, so every decoding path is exercised too.

#include "common/text_codec.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstddef>
#include <cstdint>

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

}  // namespace qeltaro::fuzz
