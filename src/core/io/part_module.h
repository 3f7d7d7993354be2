#pragma once
// The parts of the core that need a large library (HTTPS and HTML: OpenSSL, cpp-httplib and
// libxml2; workbooks: libxlsxwriter) are modules of their own, libqeltaro-NAME.so, loaded the
// first time a command or a window asks for one. Starting a program, and every command that
// never goes online or writes a workbook, thus never loads those libraries.
//
// A module exports one C function, qeltaroPart, that returns its table of functions. The
// programs find the modules through their run path: the build's parts folder, or the
// installed lib/qeltaro folder beside bin/.

#include <QString>

namespace qeltaro {

// The table of part `name` ("web", "workbook"), loaded once per process; nullptr with the reason
// in `error` when its module cannot be loaded.
const void* loadPart(const char* name, QString* error = nullptr);

}  // namespace qeltaro

// Defines the entry of a part's module: the table it hands out.
#define QELTARO_PART_ENTRY(table) \
    extern "C" __attribute__((visibility("default"))) const void* qeltaroPart() { return &(table); }
