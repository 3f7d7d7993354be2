#pragma once
// The scheme (公式搜索方案): how many formulas each category should hold or gain, beside how many
// its table holds now and the total expected, kept per kind in the settings; and the run that
// walks the categories in turn, with pause and continue, saving at its end as the check boxes
// say.

#include "gui/search/search_run_panel.h"
#include "gui/search/search_run_support.h"
#include "search/scheme_counts.h"
#include "search/search_job.h"

#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qeltaro::gui {

class SchemePanel : public SearchRunPanel {
    Q_OBJECT
public:
    explicit SchemePanel(const SearchWindowParts& parts);

    bool running() const override { return job_ != nullptr; }
    // On opening: what the tables hold, and as the total their sum.
    void showOpeningCounts();
    // After a save: what the tables hold now, and the total recomputed.
    void showHeldCounts();

signals:
    // The scheme moved on to a category that should find `count` formulas.
    void targetChosen(long long count);

private:
    void showIdle(bool idle) override;
    void stopAndWait() override;
    void poll() override;

    QGroupBox* buildWantedFrame(const QString& title, int firstNumber);
    QLayout* buildEndChoices();
    QLayout* buildButtons();

    WantedCounts wantedCounts() const;
    CountMode countMode() const;
    void loadHeldCounts();
    void recomputeExpectedTotal();
    void chooseCountMode(CountMode mode);
    void saveWantedCounts();
    void loadWantedCounts();
    void markCategoryLabels(int current, bool finished);

    void start();
    void pause();
    void resume();
    void showPauseButtons();
    void followCategory(int number);
    void finish();

    std::array<QLineEdit*, 11> wantedBoxes_{};        // Text5(1..10)
    std::array<QLabel*, 11> heldLabels_{};            // Label5(1..10)
    std::array<QLabel*, 11> categoryLabels_{};        // Label4(1..10)
    std::array<QRadioButton*, 2> countModeOptions_{}; // Option4: 保有 / 新增
    std::array<QCheckBox*, 2> endSaveChecks_{};       // chkAutApd: 追加 / 更新
    QLabel* expectedTotal_ = nullptr;                 // Label6
    QPushButton* startButton_ = nullptr;              // Command5
    QPushButton* pauseButton_ = nullptr;              // Command7
    QPushButton* resumeButton_ = nullptr;             // Command6
    HeldCounts held_{};
    std::unique_ptr<SchemeSearchJob> job_;
    RunClock clock_;
    FeedReader feed_;
    int shownCategory_ = 0;
};

}  // namespace qeltaro::gui
