#pragma once
// The proposal of thresholds (公式参数智能设置): for the chosen category, shown in the threshold
// boxes for the user to keep or not; or for every category, stored as their thresholds at once.
// It owns its run and polls it.

#include "gui/search/search_window_parts.h"
#include "search/smart_setting.h"

#include <QGroupBox>

#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace qeltaro::gui {

class SmartSettingPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SmartSettingPanel(const SearchWindowParts& parts);

    bool running() const { return run_ != nullptr; }
    // Whether the window runs nothing: only then may a proposal start.
    void setIdle(bool idle);
    // Stops the run; a proposal stopped proposes nothing.
    void endRun();

signals:
    void runningChanged();

private:
    void start(bool allCategories);
    // What the boxes ask for; nullopt after telling the user what is wrong.
    std::optional<SmartSettingRequest> request(const QString& title, bool allCategories);
    std::optional<int> readSampleCount(const QString& title);
    void poll();
    void finish();
    void storeAll(const SmartSettingOutcome& outcome);

    SearchWindowParts parts_;
    QScrollBar* sampleScroll_ = nullptr;  // HScroll2
    QLineEdit* sampleBox_ = nullptr;      // Text7
    QPushButton* oneButton_ = nullptr;    // Command11
    QPushButton* allButton_ = nullptr;    // Command12
    QTimer* pollTimer_ = nullptr;
    std::unique_ptr<SmartSettingRun> run_;
    bool allCategories_ = false;
    Kind kind_ = Kind::Kill;
    int shownCategory_ = 0;
    bool idle_ = true;
};

}  // namespace qeltaro::gui
