#pragma once
// One draw per line, as players keep them: exports of this program ("160121001 38146"), CSV
// files and tables copied from web pages or spreadsheets ("2016-01-21-001,3,8,1,4,6",
// "20160121001;38146;2016-01-21"). A line splits into fields at commas, tabs, semicolons or
// runs of blanks; a field may stand in double quotes.

#include "history/draw_history.h"

#include <QRegularExpression>
#include <QString>

#include <optional>

namespace qeltaro {

class DrawLineReader {
public:
    enum class Tail {
        DateOnly,  // after the digits at most a draw date: a history file, where more is a fault
        Ignored,   // anything after the digits is passed over: a web page's row with more columns
    };

    explicit DrawLineReader(const Game& game, Tail tail = Tail::DateOnly);

    // The line as a draw: the period first, in any form the game's numbering allows
    // (date: YYMMDDNNN, YYYYMMDDNNN, YYMMDD-NNN, YYYYMMDD-NNN, YYYY-MM-DD-NNN; year: YYNNN,
    // YYYYNNN), then the digits as one field of five or five fields of one, then (DateOnly) an
    // optional draw date YYYY-MM-DD or YYYY/MM/DD, which year-numbered games require. nullopt
    // and, when asked, why not.
    std::optional<NewDraw> read(const QString& line, QString* error = nullptr) const;

    // A heading row: no field is a number of five digits or more (dashes and slashes allowed in
    // it), so the line names no period of any game. A file's first such line is skipped.
    static bool isHeading(const QString& line);

private:
    std::optional<PeriodNumber> period(const QString& field, QString* error) const;

    Game game_;
    Tail tail_;
    QRegularExpression compactPeriod_;  // (20)YYMMDD[-]NNN or (20)YYNNN
    QRegularExpression dashedPeriod_;   // YYYY-MM-DD-NNN
};

}  // namespace qeltaro
