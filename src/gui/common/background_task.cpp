#include "gui/common/background_task.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

namespace qeltaro::gui {

class BackgroundTask::Reporter : public Progress {
public:
    Reporter(BackgroundTask* task, std::shared_ptr<std::atomic<bool>> cancelled)
        : task_(task), cancelled_(std::move(cancelled))
    {
    }
    void report(int done, int total, const QString& what) override
    {
        // Queued to the window's thread by the signal's connection.
        emit task_->progressed(done, total, what);
    }
    bool cancelled() const override { return *cancelled_; }

private:
    BackgroundTask* task_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

BackgroundTask::BackgroundTask(QProgressBar* bar, QPushButton* stopButton, QObject* parent)
    : QObject(parent), bar_(bar), stop_(stopButton)
{
    connect(this, &BackgroundTask::progressed, this, [this](int done, int total, const QString& what) {
        if (!bar_)
            return;
        bar_->setMaximum(std::max(1, total));
        bar_->setValue(std::clamp(done, 0, std::max(1, total)));
        bar_->setFormat(what.isEmpty() ? QStringLiteral("%p%") : what + QStringLiteral("  %p%"));
    });
    if (stop_) {
        stop_->hide();
        connect(stop_, &QPushButton::clicked, this, [this] {
            if (cancelled_)
                *cancelled_ = true;
        });
    }
}

bool BackgroundTask::start(std::function<void(Progress&)> work, std::function<void()> done)
{
    if (busy_)
        return false;
    busy_ = true;
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    if (stop_)
        stop_->show();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    auto reporter = std::make_shared<Reporter>(this, cancelled_);
    QThread* thread = QThread::create([work = std::move(work), reporter] { work(*reporter); });
    connect(thread, &QThread::finished, this, [this, thread, done = std::move(done)] {
        thread->deleteLater();
        busy_ = false;
        if (stop_)
            stop_->hide();
        if (bar_)
            bar_->reset();  // an idle bar shows nothing, not "0%"
        QApplication::restoreOverrideCursor();
        done();
    });
    thread->start();
    return true;
}

void BackgroundTask::wait()
{
    while (busy_)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

}  // namespace qeltaro::gui
