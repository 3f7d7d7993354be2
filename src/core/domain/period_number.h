#pragma once
// Period numbers in a game's form: "YYMMDD" + the issue of the day (160121001, 1601210001) or
// "YY" + the sequence in the year (24001).

#include "domain/game.h"

#include <QDate>
#include <QString>

#include <optional>

namespace qeltaro {

struct PeriodNumber {
    // The draw day; years are 2000 + YY. A year-numbered period read from its text alone has
    // 1 January of its year here until the draw's own date is known (dated()).
    QDate date;
    int issue = 0;  // the issue of the day, or the sequence in the year

    // The game's form with a real date and an issue in range; otherwise nullopt and, when
    // given, a message saying what is wrong.
    static std::optional<PeriodNumber> parse(const QString& text, const Game& game, QString* error = nullptr);

    // This period drawn on `drawDate`: for date numbering the date must be the period's own,
    // for year numbering it must lie in the period's year.
    std::optional<PeriodNumber> dated(const QDate& drawDate, const Game& game, QString* error = nullptr) const;

    QString text(const Game& game) const;
    // The period that follows: the next issue, or the first of the next day after the day's last
    // (date numbering); the next sequence, or the first of the next year after the last one the
    // digits can write (year numbering). A year-numbered result keeps this draw's date.
    PeriodNumber next(const Game& game) const;
    // The first issue of the given day (date numbering) or of its year (year numbering).
    static PeriodNumber firstOfDay(const QDate& day) { return {day, 1}; }

    friend bool operator==(const PeriodNumber&, const PeriodNumber&) = default;
};

}  // namespace qeltaro
