#pragma once
// The money commands of the main window: 设置 → 奖金设置... (the data folder's prize table, beside
// its game) and 管理 → 倍投计划..., which can take its bets from the last calculation.

#include "backtest/category_calculation.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

namespace qeltaro::gui {

class ChasePlanWindow;
class WindowHost;

class MoneyCommands : public QObject {
    Q_OBJECT
public:
    using LastCalculation = std::function<const std::optional<CategoryCalculation>&()>;

    MoneyCommands(WindowHost& host, LastCalculation lastCalculation);

    void openPayoutDialog();
    void openChasePlan();

private:
    WindowHost& host_;
    LastCalculation lastCalculation_;
    QPointer<ChasePlanWindow> planWindow_;
};

}  // namespace qeltaro::gui
