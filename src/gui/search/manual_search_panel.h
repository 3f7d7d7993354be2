#pragma once
// The manual search of the chosen category (开始搜索 / 暂停搜索), with its own stop at a number of
// formulas found (自动中止, Text1_15).

#include "gui/search/search_run_panel.h"
#include "gui/search/search_run_support.h"
#include "search/search_job.h"

#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qeltaro::gui {

class ManualSearchPanel : public SearchRunPanel {
    Q_OBJECT
public:
    explicit ManualSearchPanel(const SearchWindowParts& parts);

    bool running() const override { return job_ != nullptr; }
    // The count at which the search stops by itself, as a scheme sets it for its category.
    void showStopCount(long long count);

private:
    void showIdle(bool idle) override;
    void stopAndWait() override;
    void poll() override;
    void start();
    void stop();
    // What the boxes ask for; nullopt after telling the user what is wrong.
    std::optional<ManualSearchOrder> order(const QString& title);
    void finish();

    QPushButton* startButton_ = nullptr;  // Command1
    QPushButton* stopButton_ = nullptr;   // Command2
    QCheckBox* autoStop_ = nullptr;       // Check1
    QLineEdit* stopCountBox_ = nullptr;   // Text1_15
    std::unique_ptr<ManualSearchJob> job_;
    RunClock clock_;
    FeedReader feed_;
    long long foundBeforeRun_ = 0;  // unsaved formulas when the run started
};

}  // namespace qeltaro::gui
