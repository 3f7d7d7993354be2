#pragma once
// Storing draws: typed entries, history text files and downloads all go through here, so every
// stored row carries the same derived columns and LX/LY always compare with the draw just before.

#include "common/result.h"
#include "domain/draw_record.h"
#include "domain/history_columns.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace qeltaro {

class Store;

struct NewDraw {
    PeriodNumber period;  // year-numbered games: carrying the draw date
    Digits digits{};
};

// The draw the entry proposes next: its period and, for a year-numbered game, its draw date.
struct ProposedDraw {
    QString period;
    QDate date;  // year numbering only; invalid otherwise
};

struct StoreReport {
    int stored = 0;   // new rows
    int skipped = 0;  // periods already stored with the same digits
};

// The whole history as the columns every evaluation reads, in period order: what the back-test,
// the calculation, the search and the walk-forward start from.
Result<HistoryColumns> loadHistoryColumns(Store& store);

class DrawHistory {
public:
    static constexpr int kListedProblemLines = 20;

    explicit DrawHistory(Store& store) : store_(store) {}

    // A typed draw: the period must be new; refused with a message otherwise. Year-numbered
    // games need the draw date; for date-numbered ones a given date must be the period's.
    Result<DrawRecord> add(const QString& periodText, const QString& digitsText,
                           const std::optional<QDate>& drawDate = std::nullopt);

    // A draw a line, in any order and any form DrawLineReader reads; a first line naming no
    // period is a heading and skipped. Periods already stored with the same digits are skipped
    // and counted; any malformed or conflicting line refuses the whole text with the bad lines
    // listed by number (the first kListedProblemLines of them). One transaction. The refusal
    // names where the text came from.
    enum class TextSource { File, Clipboard };
    Result<StoreReport> importText(const QString& text, TextSource source = TextSource::File);
    Result<StoreReport> importFile(const QString& path);

    // Stores draws that are not yet stored, in one transaction, and mends LX/LY of a stored draw
    // whose predecessor is one of them. Draws whose period is stored already are skipped when
    // their digits agree and refused when they differ.
    Result<StoreReport> store(std::vector<NewDraw> draws);
    // Removes every stored draw and stores the given ones, in one transaction: a failure keeps
    // the old history.
    Result<StoreReport> replaceAll(std::vector<NewDraw> draws);

    // Every stored draw with its derived columns, in period order.
    Result<std::vector<DrawRecord>> draws() const;
    Result<int> count() const;

    // The period the next draw receives: the one after the newest stored draw, or the first of
    // `today` for an empty history.
    Result<QString> nextPeriod(const QDate& today) const;
    // The period and, for a year-numbered game, the date proposed for the next draw, which agree:
    // the date is the newest draw's day, or the day after once that day's draws are all stored
    // (today for an empty history); the period follows that date (nextPeriodOn).
    Result<ProposedDraw> proposeNext(const QDate& today) const;
    // Year numbering: the period of a draw on `date` after the newest stored draw: the next
    // sequence, or the first of the date's year when that year is later than the newest draw's.
    Result<QString> nextPeriodOn(const QDate& date) const;

private:
    Result<StoreReport> storeDraws(std::vector<NewDraw> draws, bool replace);

    Store& store_;
};

}  // namespace qeltaro
