#pragma once
// Input quoted in a message: a file line or a downloaded text may be megabytes long, and a
// message box or a terminal line holding all of it helps nobody (and freezes a window).

#include <QString>
#include <QStringView>

namespace qeltaro {

inline constexpr qsizetype kQuotedCharacters = 40;

// The text as it is when short; otherwise its beginning, "…" and the full length. Control
// characters are shown as U+FFFD.
QString excerpt(QStringView text, qsizetype maxCharacters = kQuotedCharacters);

}  // namespace qeltaro
