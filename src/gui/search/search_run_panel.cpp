#include "gui/search/search_run_panel.h"

#include "gui/search/search_run_support.h"

#include <QTimer>

namespace qeltaro::gui {

SearchRunPanel::SearchRunPanel(const SearchWindowParts& parts) : parts_(parts), pollTimer_(new QTimer(this))
{
    pollTimer_->setInterval(kReportInterval);
    connect(pollTimer_, &QTimer::timeout, this, [this] { poll(); });
}

void SearchRunPanel::setIdle(bool idle)
{
    idle_ = idle;
    showIdle(idle);
}

void SearchRunPanel::endRun()
{
    if (!running())
        return;
    stopAndWait();
    poll();
}

void SearchRunPanel::beginPolling()
{
    parts_.beginRun();
    pollTimer_->start();
    emit runningChanged();
}

void SearchRunPanel::endPolling()
{
    pollTimer_->stop();
    emit runningChanged();
}

}  // namespace qeltaro::gui
