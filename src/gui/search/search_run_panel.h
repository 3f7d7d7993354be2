#pragma once
// What the search window's three panels (manual search, scheme, smart setting) have alike: a run
// of their own, polled on the window's thread at the pace it reports, so the window stays
// responsive and nothing calls into it from the run's threads; and a start that waits while the
// window runs anything else, since every run shows its progress in the same parts.

#include "gui/search/search_window_parts.h"

#include <QWidget>

class QTimer;

namespace qeltaro::gui {

class SearchRunPanel : public QWidget {
    Q_OBJECT
public:
    // Whether its run is under way (paused included).
    virtual bool running() const = 0;
    // Whether the window runs nothing: only then may the panel start its run.
    void setIdle(bool idle);
    // Stops the run and takes what it found, as when it ends by itself.
    void endRun();

signals:
    void runningChanged();

protected:
    explicit SearchRunPanel(const SearchWindowParts& parts);

    bool idle() const { return idle_; }
    // The run has just been made: the shared parts show a new run, and polling starts.
    void beginPolling();
    // The run has ended and was let go.
    void endPolling();

    virtual void showIdle(bool idle) = 0;
    virtual void stopAndWait() = 0;
    // Shows the run's progress; once it has ended, takes its outcome and calls endPolling().
    virtual void poll() = 0;

    SearchWindowParts parts_;

private:
    QTimer* pollTimer_ = nullptr;
    bool idle_ = true;
};

}  // namespace qeltaro::gui
