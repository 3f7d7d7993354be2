#pragma once
// The formula search window (frmGSGL): the manual search of one category, the scheme search over
// every category, the proposal of thresholds, the saving and export of what was found, and the
// search's settings per category. Runs go on worker threads; the window polls them a few times
// a second, so it stays responsive and nothing calls into it from another thread.

#include "domain/category.h"
#include "domain/history_columns.h"
#include "search/found_formula.h"
#include "search/found_formula_save.h"
#include "search/scheme_counts.h"
#include "search/scheme_run.h"
#include "search/search_job.h"
#include "search/search_run.h"
#include "search/smart_setting.h"

#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace qeltaro {
class SchemeSettings;
}

namespace qeltaro::gui {

class WindowHost;
class BestRatesPanel;
class SearchChecksPanel;
class SearchProgressChart;

class FormulaSearchWindow : public QDialog {
    Q_OBJECT
public:
    explicit FormulaSearchWindow(WindowHost& main);
    ~FormulaSearchWindow() override;

    // Whether a search or a threshold proposal is under way (paused ones included).
    bool running() const;
    const FoundFormulaList& found() const { return found_; }

protected:
    void reject() override;

private:
    // Building the controls.
    QWidget* buildCategoryPanel();
    QWidget* buildThresholdPanel();
    QWidget* buildSmartPanel();
    QWidget* buildSearchPanel();
    QWidget* buildSchemePanel();
    QGroupBox* buildWantedFrame(const QString& title, int firstNumber);
    // A button of this window that runs `onClick` when clicked.
    QPushButton* makeButton(const char* name, const QString& caption, const std::function<void()>& onClick);

    // The category the options choose, and its settings.
    int searchNumber() const;
    Category category() const;
    Kind selectedKind() const;
    void selectPositions(int positions);
    void selectCategory(int number);
    void loadCategory();
    void operandCountChanged(int count);
    void saveCategorySettings();

    // The scheme's counts.
    WantedCounts wantedCounts() const;
    void showHeldCounts();
    void recomputeExpectedTotal();
    void chooseCountMode(CountMode mode);
    void saveWantedCounts();
    void loadWantedCounts();
    void markSchemeLabels(int current, bool finished);

    // What the boxes hold, checked before a run; nullopt after telling the user what is wrong.
    std::optional<std::shared_ptr<const HistoryColumns>> historyForRun(const QString& title);
    std::optional<TailConstant> readConstant(const QString& title);
    std::optional<int> readSampleCount(const QString& title);

    // The runs.
    void startManual();
    void stopManual();
    void startScheme();
    void pauseScheme();
    void continueScheme();
    void startSmartSetting(bool allCategories);
    void poll();
    void takeNewlyFound(const FoundFeed& feed);
    void finishManual();
    void finishScheme();
    void finishSmartSetting();
    void stopAllRuns();
    // Ends the runs, keeping what they found; then asks before found formulas that were neither
    // saved nor exported would be lost. False: the user stays.
    bool readyToClose();
    template <typename Action>
    void forEachRun(const Action& action)
    {
        if (manualRun_)
            action(*manualRun_);
        if (schemeRun_)
            action(*schemeRun_);
        if (smartRun_)
            action(*smartRun_);
    }
    void beginRun();
    void showCandidate(const QString& text, const CandidateStatistics& stats);
    void plotProgress(std::uint64_t verified, long long found, std::uint64_t shuffledPasses, const BestRates& best);
    std::optional<int> readHoldout(const QString& title, const HistoryColumns& history);
    // The checks of a finished run: rates, verdict, and each formula's held-out line.
    void showChecks(const std::optional<ShuffledControl>& control, int holdoutPeriods,
                    const std::vector<FoundFormula>& found);
    void updateButtons();

    // Saving and export.
    void save(SaveMode mode);
    void exportFound();

    WindowHost& main_;
    std::unique_ptr<SchemeSettings> settings_;

    std::array<QRadioButton*, 6> positionOptions_{};  // optXing(1..5)
    std::array<QRadioButton*, 2> playOptions_{};      // opTDG
    std::array<QRadioButton*, 2> killOptions_{};      // Option2: 杀 / 生
    std::array<QRadioButton*, 2> constantOptions_{};  // Option5: 指定 / 随机
    std::array<QRadioButton*, 2> formOptions_{};      // Option6: prefix / suffix
    std::array<QRadioButton*, 2> countModeOptions_{}; // Option4: 保有 / 新增
    std::array<QCheckBox*, 2> endSaveChecks_{};       // chkAutApd: 追加 / 更新
    std::array<QLineEdit*, 16> thresholdBoxes_{};     // Text1(0..15)
    std::array<QLineEdit*, 11> wantedBoxes_{};        // Text5(1..10)
    std::array<QLabel*, 11> heldLabels_{};            // Label5(1..10)
    std::array<QLabel*, 11> categoryLabels_{};        // Label4(1..10)
    QWidget* categoryFrames_ = nullptr;     // position, play and sense
    QLineEdit* constantBox_ = nullptr;      // Text6
    QScrollBar* operandScroll_ = nullptr;   // HScroll1
    QLineEdit* operandBox_ = nullptr;       // Text2
    QScrollBar* sampleScroll_ = nullptr;    // HScroll2
    QLineEdit* sampleBox_ = nullptr;        // Text7
    QCheckBox* autoStop_ = nullptr;         // Check1
    QLineEdit* verifiedBox_ = nullptr;      // Text3
    QLineEdit* foundBox_ = nullptr;         // Text4
    QLineEdit* candidateBox_ = nullptr;     // Text11
    QListWidget* foundList_ = nullptr;      // List1
    QLabel* expectedTotal_ = nullptr;       // Label6
    SearchProgressChart* chart_ = nullptr;
    SearchChecksPanel* checks_ = nullptr;
    BestRatesPanel* bestRates_ = nullptr;
    QTimer* pollTimer_ = nullptr;

    HeldCounts held_{};
    FoundFormulaList found_;
    std::unique_ptr<ManualSearchJob> manualRun_;
    std::unique_ptr<SchemeSearchJob> schemeRun_;
    std::unique_ptr<SmartSettingRun> smartRun_;
    bool smartAll_ = false;
    Kind smartKind_ = Kind::Kill;
    std::shared_ptr<const HistoryColumns> runHistory_;
    QElapsedTimer runClock_;
    qint64 pausedMs_ = 0;
    QElapsedTimer pauseClock_;
    std::size_t fedCount_ = 0;     // formulas of the current run's feed already listed
    long long foundBeforeRun_ = 0;  // unsaved formulas when the manual run started
    int shownSchemeCategory_ = 0;
};

}  // namespace qeltaro::gui
