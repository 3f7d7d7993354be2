#pragma once
// The game a store serves: how many draws a day, how wide the issue is written, and whether
// periods count within a day ("YYMMDD" + issue) or within a year ("YY" + sequence, a draw a day
// or fewer, each draw carrying its own date). A store that names no game serves the standard
// one: 120 draws a day, three-digit issues, date numbering.

#include <QString>
#include <QStringView>

#include <optional>

namespace qeltaro {

enum class Numbering { Date, Year };

QString numberingName(Numbering numbering);  // "date" / "year"
std::optional<Numbering> numberingFromName(QStringView name);

struct Game {
    static constexpr int kMaxDrawsPerDay = 1440;  // one a minute

    QString name = QStringLiteral("时时彩");
    int drawsPerDay = 120;
    int issueDigits = 3;
    Numbering numbering = Numbering::Date;

    // Why the game cannot be served (draws per day out of 1..1440, issue digits other than 3 or
    // 4 or too few for the draws per day, an empty name); nullopt when it can.
    std::optional<QString> problem() const;

    // The largest issue (date numbering) or sequence (year numbering) a period can carry.
    int lastIssue() const;
    // The issue or sequence written in the game's digits: 7 -> "007" or "0007".
    QString issueText(int issue) const;
    // Characters of a period: 6 + issue digits (date) or 2 + issue digits (year).
    int periodLength() const;
    // An example period for messages: 160121001, 1601210001 or 24001.
    QString examplePeriod() const;

    friend bool operator==(const Game&, const Game&) = default;
};

}  // namespace qeltaro
