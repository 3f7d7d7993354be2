#pragma once
// Runs work that can take a while on a worker thread while the window stays responsive: the
// progress shows in ProgressBar1, a stop button asks the work to end, and the result comes back
// on the window's thread.

#include "common/progress.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

class QProgressBar;
class QPushButton;

namespace qeltaro::gui {

class BackgroundTask : public QObject {
    Q_OBJECT
public:
    BackgroundTask(QProgressBar* bar, QPushButton* stopButton, QObject* parent = nullptr);

    bool busy() const { return busy_; }

    // `work` runs on a worker thread with a Progress to report to; `done` runs afterwards on
    // this object's thread. Returns false when another task is still running.
    bool start(std::function<void(Progress&)> work, std::function<void()> done);

    // Runs the event loop until the current task has finished (for tests and for closing).
    void wait();

signals:
    void progressed(int done, int total, const QString& what);

private:
    class Reporter;

    QPointer<QProgressBar> bar_;
    QPointer<QPushButton> stop_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    bool busy_ = false;
};

}  // namespace qeltaro::gui
