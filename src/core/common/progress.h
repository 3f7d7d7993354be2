#pragma once
// How long work tells its caller how far it got and learns that the user wants it stopped.
// The window shows a progress bar, the command line prints to the terminal; the core knows neither.

#include <QString>

namespace qeltaro {

class Progress {
public:
    virtual ~Progress() = default;
    // `done` of `total` steps finished; `what` names the step under way.
    virtual void report(int done, int total, const QString& what)
    {
        (void)done;
        (void)total;
        (void)what;
    }
    // Polled between steps (and inside long steps where possible).
    virtual bool cancelled() const { return false; }
};

}  // namespace qeltaro
