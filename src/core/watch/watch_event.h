#pragma once
// What a watch tells as it goes: draws stored, a calculation made, a page contradicting a stored
// draw, a cycle that failed, the wait for a scheduled draw. The command line prints them and the
// window shows them; both say them in the words of eventText().

#include "predictions/calculation_run.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

namespace qeltaro {

struct WatchEvent {
    enum class Kind { Draws, Calculation, Conflict, Error, Waiting };
    Kind kind = Kind::Error;
    QStringList periods;                        // Draws: the periods stored, oldest first
    QString period;                             // Draws: the newest; Conflict, Waiting: the period
    QString stored;                             // Conflict: the stored digits
    QString page;                               // Conflict: the page's digits
    QDateTime due;                              // Waiting
    QString message;                            // Error
    std::shared_ptr<const CalculationRun> run;  // Calculation
};

// The digits the calculation keeps, a slot each: "第160121006期 一星直选 杀码 保留 0 3 7".
QString calculationDigitsText(const CategoryCalculation& calculation);

// One line for the event, as the command line prints it and the window's status bar shows it.
QString eventText(const WatchEvent& event);

}  // namespace qeltaro
