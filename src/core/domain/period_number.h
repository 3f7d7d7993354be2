#pragma once
// Period numbers: "YYMMDD" followed by a three-digit issue 001..120, e.g. 160121001.

#include <QDate>
#include <QString>

#include <optional>

namespace qeltaro {

inline constexpr int kIssuesPerDay = 120;

struct PeriodNumber {
    QDate date;     // the draw day; years are 2000 + YY
    int issue = 0;  // 1..120

    // Nine digits forming a real date and an issue 1..120; otherwise nullopt and, when given,
    // a message saying what is wrong.
    static std::optional<PeriodNumber> parse(const QString& text, QString* error = nullptr);

    QString text() const;  // "YYMMDDNNN"
    // The period that follows: the next issue, or issue 001 of the next calendar day after 120.
    PeriodNumber next() const;
    // The first issue of the given day.
    static PeriodNumber firstOfDay(const QDate& day);

    friend bool operator==(const PeriodNumber&, const PeriodNumber&) = default;
};

}  // namespace qeltaro
