#pragma once
// The money commands of the main window: 设置 → 奖金设置... (the data folder's prize table, beside
// its game) and 管理 → 倍投计划..., which can take its bets from the last calculation.

#include "backtest/category_calculation.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QMenu;

namespace qeltaro::gui {

class ChasePlanWindow;
class WindowHost;

class MoneyCommands : public QObject {
    Q_OBJECT
public:
    using LastCalculation = std::function<const std::optional<CategoryCalculation>&()>;

    // Adds the items to the settings menu (after 彩种设置) and the manage menu (before the
    // deletions).
    MoneyCommands(WindowHost& host, QMenu* settingsMenu, QMenu* manageMenu, LastCalculation lastCalculation);

    void openPayoutDialog();
    void openChasePlan();

private:
    WindowHost& host_;
    LastCalculation lastCalculation_;
    QPointer<ChasePlanWindow> planWindow_;
};

}  // namespace qeltaro::gui
