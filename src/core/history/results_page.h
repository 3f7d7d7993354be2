#pragma once
// A results source's day page: its address, and the draws written in its visible text, either as
// markers "YYMMDD-NNN" followed directly by the five digits, e.g. "160121-00112345", or as the
// rows of a table, a draw a row, read like the lines of a history file.

#include "common/result.h"
#include "history/draw_history.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace qeltaro {

// Where the page of a day is, as kept in the settings (HistoryUrl) or given on the command line:
// a base address http(s)://host[:port][/path] without query or fragment, which the source's
// fixed path and query follow, or a whole address holding `{date}`, `{ymd}` or `{yymmdd}`.
struct ResultsAddress {
    QUrl base;        // a base address
    QString pattern;  // or a whole address with placeholders for the day
};
Result<ResultsAddress> parseResultsBase(const QString& text);

// The page of one day: the pattern with the day filled in, or the base followed by the source's
// fixed path and query, with the day written twice (…span=2016-01-21_2016-01-21…).
QUrl resultsPageUrl(const ResultsAddress& address, const QDate& day);

struct DayPageDraws {
    std::vector<NewDraw> draws;  // ascending by issue
    QStringList unreadable;      // periods whose marker is not followed by five digits, or that
                                 // the page gives with two different draws
    bool hasMarkers = false;     // whether the page names any draw of the day at all
};

// The draws of `day` in a page's visible text, from issue `startIssue` on, newer than
// `lastStored` (empty: every draw counts as newer). A period's digits come from the first
// occurrence of its marker or from table rows naming it; later markers and other rows only
// matter when they contradict them. Rows that do not read as a draw, or are of another day, are
// passed over.
DayPageDraws readDayPage(const QString& text, const QDate& day, int startIssue, const QString& lastStored,
                         const Game& game);

}  // namespace qeltaro
