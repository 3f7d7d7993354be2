#pragma once
// The trend chart (走势图) of one thing the draws show: a position's digit or one of its forms, or
// a figure of the last three positions (百位, 十位, 个位). Every row of the window gets its value
// and the omission (遗漏, domain/omission.h) of every value, counted over the whole history so
// the first rows of a window carry their true omission; every value gets its statistics over the
// window and the chance of its current omission.

#include "domain/history_columns.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qeltaro {

enum class TrendForm {
    Digit,           // the digit 0-9
    BigSmall,        // 大 5-9, 小 0-4
    OddEven,         // 单 odd, 双 even
    PrimeComposite,  // 质 1 2 3 5 7, 合 0 4 6 8 9: 1 counts as prime and 0 as composite, as players read them
    Remainder3,      // 0路 1路 2路: the digit modulo 3
    Sum,             // 和值 of the last three, 0-27
    Span,            // 跨度 of the last three: largest − smallest, 0-9
    Shape,           // 形态 of the last three: 豹子 all equal, 组三 two equal, 组六 all different
};

inline constexpr TrendForm kPositionForms[] = {TrendForm::Digit, TrendForm::BigSmall, TrendForm::OddEven,
                                               TrendForm::PrimeComposite, TrendForm::Remainder3};
inline constexpr TrendForm kLastThreeForms[] = {TrendForm::Sum, TrendForm::Span, TrendForm::Shape};

bool isLastThreeForm(TrendForm form);
// 号码, 大小, 单双, 质合, 012路, 和值, 跨度, 形态.
QString trendFormName(TrendForm form);
// The values a chart of the form has columns for, in order: "0".."9"; 大 小; 单 双; 质 合;
// 0路 1路 2路; "0".."27"; "0".."9"; 豹子 组三 组六.
const QStringList& trendValueLabels(TrendForm form);
// The chance q of each value in one draw of uniform digits: 1/10 a digit, 1/2 each half, 0.4 0.3
// 0.3 the remainders, the share of the 1,000 last-three draws for the last-three figures.
const std::vector<double>& trendValueChances(TrendForm form);

// The value (index into the labels) of a position's digit, and of the last three digits.
int positionFormValue(TrendForm form, int digit);
int lastThreeFormValue(TrendForm form, int hundreds, int tens, int units);

// (1 − q)^k: how often a value of chance q misses k draws in a row by chance alone.
double omissionChance(double q, int omission);
// A chance in percent, short enough for a narrow cell: "28", "2.8", "0.28", "<0.01".
QString percentText(double chance);
// The same with the sign: "28%", "<0.01%".
QString chanceText(double chance);

struct TrendSubject {
    TrendForm form = TrendForm::Digit;
    int position = 5;  // 1..5 (万位..个位); the last-three forms ignore it
};

// Per value, over the window's n rows; every figure 0 without rows.
struct TrendStatistics {
    std::vector<int> appearances;          // 出现次数: rows holding the value
    std::vector<double> averageOmission;   // 平均遗漏: (n − appearances) / (appearances + 1)
    std::vector<int> maxOmission;          // 最大遗漏: the largest omission at any window row
    std::vector<int> currentOmission;      // 当前遗漏: the omission at the newest row
    std::vector<int> maxRun;               // 最大连出: the longest run of window rows holding it
    std::vector<double> currentOmissionChance;  // omissionChance of the current omission
};

struct TrendChart {
    TrendSubject subject;
    int firstRow = 0;            // history row of the first window row
    std::vector<int> values;     // the value of each window row, oldest first
    std::vector<int> omissions;  // window row r, value v at r * valueCount() + v
    TrendStatistics statistics;

    int rowCount() const { return int(values.size()); }
    int valueCount() const { return int(trendValueLabels(subject.form).size()); }
    int omission(int row, int value) const { return omissions[size_t(row) * size_t(valueCount()) + size_t(value)]; }
};

// The window sizes offered, newest rows; the default; nullopt stands for the whole history.
inline constexpr int kTrendPeriodChoices[] = {30, 50, 100, 200, 500};
inline constexpr int kDefaultTrendPeriods = 100;

// The chart over the newest `periods` rows (every row when nullopt or more than the history has).
TrendChart trendChart(const HistoryColumns& history, const TrendSubject& subject,
                      std::optional<int> periods = kDefaultTrendPeriods);

// What a trend chart must say beside every long omission.
QString equalChanceNote();

}  // namespace qeltaro
