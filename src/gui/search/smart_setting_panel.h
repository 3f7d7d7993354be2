#pragma once
// The proposal of thresholds (公式参数智能设置): for the chosen category, shown in the threshold
// boxes for the user to keep or not; or for every category, stored as their thresholds at once.

#include "gui/search/search_run_panel.h"
#include "search/smart_setting.h"

#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;
class QScrollBar;

namespace qeltaro::gui {

// A proposal stopped before its end proposes nothing.
class SmartSettingPanel : public SearchRunPanel {
    Q_OBJECT
public:
    explicit SmartSettingPanel(const SearchWindowParts& parts);

    bool running() const override { return run_ != nullptr; }

private:
    void showIdle(bool idle) override;
    void stopAndWait() override;
    void poll() override;

    void start(bool allCategories);
    // What the boxes ask for; nullopt after telling the user what is wrong.
    std::optional<SmartSettingRequest> request(const QString& title, bool allCategories);
    std::optional<int> readSampleCount(const QString& title);
    void finish();
    void storeAll(const SmartSettingOutcome& outcome);

    QScrollBar* sampleScroll_ = nullptr;  // HScroll2
    QLineEdit* sampleBox_ = nullptr;      // Text7
    QPushButton* oneButton_ = nullptr;    // Command11
    QPushButton* allButton_ = nullptr;    // Command12
    std::unique_ptr<SmartSettingRun> run_;
    bool allCategories_ = false;
    Kind kind_ = Kind::Kill;
    int shownCategory_ = 0;
};

}  // namespace qeltaro::gui
