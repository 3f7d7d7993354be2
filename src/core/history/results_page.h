#pragma once
// A results source's day page: its address, its visible text, and the draws written in it as
// markers "YYMMDD-NNN" followed directly by the five digits, e.g. "160121-00112345".

#include "common/result.h"
#include "history/draw_history.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace qeltaro {

// A base address as kept in the settings (HistoryUrl) or given on the command line:
// http(s)://host[:port][/path], without query or fragment.
Result<QUrl> parseResultsBase(const QString& text);

// The page of one day: the base followed by the source's fixed path and query, with the day
// written twice (…span=2016-01-21_2016-01-21…).
QUrl resultsPageUrl(const QUrl& base, const QDate& day);

// The text a reader sees in an HTML page: markup, comments, scripts and styles removed,
// character references decoded, blocks and table cells kept apart.
QString visibleText(const QString& html);

struct DayPageDraws {
    std::vector<NewDraw> draws;  // ascending by issue
    QStringList unreadable;      // periods whose marker is not followed by five digits, or whose
                                 // marker appears again with other digits
    bool hasMarkers = false;     // whether the page names any draw of the day at all
};

// The draws of `day` in a page's visible text, from issue `startIssue` on, newer than
// `lastStored` (empty: every draw counts as newer). The first occurrence of a marker gives the
// digits; later ones only matter when they contradict it.
DayPageDraws readDayPage(const QString& text, const QDate& day, int startIssue, const QString& lastStored,
                         const Game& game);

}  // namespace qeltaro
