#pragma once
// The current long runs (长龙) of big/small and odd/even at every position: the value the newest
// draw shows, how many draws in a row show it, and how often that happens by chance alone.

#include "domain/history_columns.h"
#include "trend/trend_chart.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qeltaro {

inline constexpr TrendForm kStreakForms[] = {TrendForm::BigSmall, TrendForm::OddEven};

struct Streak {
    int position = 1;                   // 1..5
    TrendForm form = TrendForm::BigSmall;  // BigSmall or OddEven
    int value = 0;                      // index into the form's labels
    int length = 0;                     // the newest `length` rows share the value, the row before does not
    double chance = 0;                  // q^(length − 1): the draws before the newest share its value by chance
    double nextChance = 0;              // q: the next draw continues the run

    QString valueLabel() const { return trendValueLabels(form)[value]; }
};

// The ten position-form pairs, longest first; equal lengths in position order, 大小 before 单双.
// None for an empty history.
std::vector<Streak> currentStreaks(const HistoryColumns& history);

// The streak table as the window and the workbook show it.
QStringList streakHeaders();
QStringList streakCells(const Streak& streak);
// The plain fact under the table: the next draw continues any run with its value's chance.
QString streakNote();

}  // namespace qeltaro
