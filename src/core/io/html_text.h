#pragma once
// The text a reader sees in an HTML page, read by a real HTML parser (libxml2's), which copes
// with the broken markup that results pages are full of.

#include <QString>

namespace qeltaro {

// Markup, comments, scripts and styles removed, character references decoded, blank runs
// collapsed as a browser renders them, blocks and table rows on lines of their own and table
// cells apart by tabs, so a table reads as one line of fields per row.
QString visibleText(const QString& html);

}  // namespace qeltaro
