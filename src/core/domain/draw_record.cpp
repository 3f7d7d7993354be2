#include "domain/draw_record.h"

#include "common/message_text.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace qeltaro {
namespace {

// Catalogue layout: letters A..M for positions 1..5 at (letter - 'A') * 5 + (p - 1).
constexpr int perPosition(char letter, int position)
{
    return (letter - 'A') * 5 + (position - 1);
}
constexpr int kL1P = 65;   // L1P..L3P
constexpr int kL1Q = 68;   // L1Q..L5Q
constexpr int kLH = 73;    // LH..LY
constexpr int kQH = kFirstPeriodColumn;  // QH, QHW, SQH, SQHW, RQ, RQW, YF, YFW, NF, NFW

int digitSum(int n)
{
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += n % 10;
    return sum;
}

bool isPrimeDigit(int d)
{
    return d == 2 || d == 3 || d == 5 || d == 7;
}

}  // namespace

std::optional<Digits> parseDigits(const QString& text, QString* error)
{
    const QString trimmed = text.trimmed();
    bool ok = trimmed.size() == 5;
    for (QChar c : trimmed)
        ok = ok && c >= u'0' && c <= u'9';
    if (!ok) {
        if (error)
            *error = QStringLiteral("开奖号“%1”必须是5个0-9的数字（例如38146）").arg(excerpt(text));
        return std::nullopt;
    }
    Digits digits{};
    for (int i = 0; i < 5; ++i)
        digits[i] = trimmed[i].unicode() - u'0';
    return digits;
}

QString digitsText(const Digits& digits)
{
    QString text;
    for (int d : digits)
        text += QChar(char16_t(u'0' + d));
    return text;
}

int sameDigitAtSamePosition(const Digits& digits, const Digits& previous)
{
    int count = 0;
    for (int i = 0; i < 5; ++i)
        count += digits[i] == previous[i] ? 1 : 0;
    return count;
}

int digitsFoundInPrevious(const Digits& digits, const Digits& previous)
{
    int count = 0;
    for (int d : digits)
        count += std::find(previous.begin(), previous.end(), d) != previous.end() ? 1 : 0;
    return count;
}

namespace {

// The columns of each position: its digit and what follows from it and its neighbours, and the
// residue counts.
void fillPositionColumns(DerivedValues& v, const Digits& d)
{
    for (int p = 1; p <= 5; ++p) {
        const int digit = d[p - 1];
        const int prev = d[((p + 3) % 5)];  // cyclic neighbours: position 1 sees 5 and 2
        const int next = d[p % 5];
        v[perPosition('A', p)] = digit;
        v[perPosition('B', p)] = digit >= 5 ? 1 : 0;
        v[perPosition('C', p)] = digit % 2;
        v[perPosition('D', p)] = digit % 5;
        v[perPosition('E', p)] = digit % 3;
        v[perPosition('F', p)] = digit / 2 + 1;
        v[perPosition('G', p)] = digit * digit;
        v[perPosition('I', p)] = 9 - digit;
        v[perPosition('J', p)] = 1 << digit;
        v[perPosition('K', p)] = digit * digit * digit;
        v[perPosition('L', p)] = prev + next;
        v[perPosition('M', p)] = std::abs(prev - next);
    }
    // Residue counts: the column of index p counts digits with remainder p mod 5 (p mod 3).
    for (int p = 1; p <= 5; ++p)
        v[perPosition('H', p)] = int(std::count_if(d.begin(), d.end(), [p](int x) { return x % 5 == p % 5; }));
    for (int p = 1; p <= 3; ++p)
        v[kL1P + p - 1] = int(std::count_if(d.begin(), d.end(), [p](int x) { return x % 3 == p % 3; }));
}

// The columns of the whole draw: its sum, counts and sums by size, parity and primality, its
// shape, and how much of it repeats the previous draw.
void fillWholeDrawColumns(DerivedValues& v, const Digits& d, const std::optional<Digits>& previous)
{
    int maxStep = 0;
    int equalSteps = 0, upSteps = 0, downSteps = 0;
    for (int i = 1; i < 5; ++i) {
        maxStep = std::max(maxStep, std::abs(d[i] - d[i - 1]));
        equalSteps += d[i] == d[i - 1] ? 1 : 0;
        upSteps += d[i] == d[i - 1] + 1 ? 1 : 0;
        downSteps += d[i - 1] == d[i] + 1 ? 1 : 0;
    }
    int primeCount = 0, primeSum = 0, compositeCount = 0, compositeSum = 0;
    int bigCount = 0, bigSum = 0, smallCount = 0, smallSum = 0;
    int oddCount = 0, oddSum = 0, evenCount = 0, evenSum = 0, sum = 0;
    for (int x : d) {
        sum += x;
        if (isPrimeDigit(x)) {
            ++primeCount;
            primeSum += x;
        } else if (x != 1) {  // 0 counts as composite, 1 as neither
            ++compositeCount;
            compositeSum += x;
        }
        (x >= 5 ? bigCount : smallCount) += 1;
        (x >= 5 ? bigSum : smallSum) += x;
        (x % 2 ? oddCount : evenCount) += 1;
        (x % 2 ? oddSum : evenSum) += x;
    }
    Digits sorted = d;
    std::sort(sorted.begin(), sorted.end());
    const int distinct = int(std::unique(sorted.begin(), sorted.end()) - sorted.begin());

    v[kL1Q + 0] = maxStep;
    v[kL1Q + 1] = primeCount;
    v[kL1Q + 2] = primeSum;
    v[kL1Q + 3] = compositeCount;
    v[kL1Q + 4] = compositeSum;

    const int whole[18] = {
        sum, sum % 10, bigCount, bigSum, smallCount, smallSum, oddCount, oddSum, evenCount, evenSum,
        distinct, 5 - distinct, sorted[distinct - 1] - sorted[0], equalSteps, upSteps, downSteps,
        previous ? sameDigitAtSamePosition(d, *previous) : 0,
        previous ? digitsFoundInPrevious(d, *previous) : 0};
    std::copy(std::begin(whole), std::end(whole), v.begin() + kLH);
}

// The columns of the period: the issue, the next issue and the date.
void fillPeriodColumns(DerivedValues& v, const PeriodNumber& period, const Game& game)
{
    const int issue = period.issue;
    // The day's issues wrap to 1; a year's sequence runs on.
    const bool wraps = game.numbering == Numbering::Date && issue >= game.drawsPerDay;
    const int nextIssue = wraps ? 1 : issue + 1;
    const int year = period.date.year();
    const int month = period.date.month();
    const int day = period.date.day();
    v[kQH + 0] = nextIssue;
    v[kQH + 1] = digitSum(nextIssue);
    v[kQH + 2] = issue;
    v[kQH + 3] = digitSum(issue);
    v[kQH + 4] = day;
    v[kQH + 5] = day / 10 + day % 10;
    v[kQH + 6] = month;
    v[kQH + 7] = month / 10 + month % 10;
    v[kQH + 8] = year;
    v[kQH + 9] = digitSum(year);
}

}  // namespace

DrawRecord deriveDrawRecord(const PeriodNumber& period, const Digits& d,
                            const std::optional<Digits>& previous, const Game& game)
{
    DrawRecord record;
    record.period = period.text(game);
    fillPositionColumns(record.values, d);
    fillWholeDrawColumns(record.values, d, previous);
    fillPeriodColumns(record.values, period, game);
    return record;
}

QDate DrawRecord::drawDate() const
{
    return QDate(values[kQH + 8], values[kQH + 6], values[kQH + 4]);
}

int derivedIndex(QStringView code)
{
    const auto index = parameterIndexOfCode(code);
    if (!index)
        throw std::invalid_argument("unknown history column");
    return *index - 1;
}

}  // namespace qeltaro
