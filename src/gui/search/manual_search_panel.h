#pragma once
// The manual search of the chosen category (开始搜索 / 暂停搜索), with its own stop at a number of
// formulas found (自动中止, Text1_15). It owns its run and polls it a few times a second, so the
// window stays responsive and nothing calls into it from another thread.

#include "gui/search/search_run_support.h"
#include "gui/search/search_window_parts.h"
#include "search/search_job.h"

#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace qeltaro::gui {

class ManualSearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit ManualSearchPanel(const SearchWindowParts& parts);

    bool running() const { return job_ != nullptr; }
    // Whether the window runs nothing: only then may a search start.
    void setIdle(bool idle);
    // The count at which the search stops by itself, as a scheme sets it for its category.
    void showStopCount(long long count);
    // Stops the run and takes what it found, as if it had ended by itself.
    void endRun();

signals:
    void runningChanged();

private:
    void start();
    void stop();
    // What the boxes ask for; nullopt after telling the user what is wrong.
    std::optional<ManualSearchOrder> order(const QString& title);
    void poll();
    void finish();

    SearchWindowParts parts_;
    QPushButton* startButton_ = nullptr;  // Command1
    QPushButton* stopButton_ = nullptr;   // Command2
    QCheckBox* autoStop_ = nullptr;       // Check1
    QLineEdit* stopCountBox_ = nullptr;   // Text1_15
    QTimer* pollTimer_ = nullptr;
    std::unique_ptr<ManualSearchJob> job_;
    RunClock clock_;
    std::size_t fedCount_ = 0;      // formulas of the run's feed already listed
    long long foundBeforeRun_ = 0;  // unsaved formulas when the run started
    bool idle_ = true;
};

}  // namespace qeltaro::gui
