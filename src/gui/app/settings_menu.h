#pragma once
// The menu "设置" (mnuSetup): verification display row, back-test window, weighting, the days and
// the addresses of the online updates, and restoring the defaults. Every change is stored at once.
// The main window adds the store's game and the data folder after these.

#include "gui/common/online_address.h"
#include "settings/settings.h"

#include <QObject>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace qeltaro::gui {

class SettingsMenu : public QObject {
    Q_OBJECT
public:
    SettingsMenu(Settings& settings, SettingsMirror& mirror, QWidget* parent);

    QMenu* menu() const { return menu_; }
    // Check marks from the mirror.
    void syncChecks();
    // The days dialog (mnuSetDay): asks until the answer is 2..10 or empty.
    void askSearchDays();

signals:
    // A new window was chosen (mnuQs): the back-test runs again.
    void periodWindowChanged();

private:
    // A checkable item of `menu` that stores its change and updates the check marks.
    QAction* addSetting(QMenu* menu, const QString& name, const QString& caption, const std::function<void()>& change);

    Settings& settings_;
    SettingsMirror& mirror_;
    QWidget* parent_;
    QMenu* menu_;
    std::array<QAction*, 2> rowActions_{};
    QAction* excludeCurrent_ = nullptr;
    std::array<QAction*, kPeriodWindowChoices> windowActions_{};
    QAction* weighted_ = nullptr;
};

}  // namespace qeltaro::gui
