#include "gui/app/money_commands.h"

#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/money/chase_plan_window.h"
#include "gui/money/payout_dialog.h"
#include "predictions/kept_digits.h"

#include <QAction>
#include <QMenu>

namespace qeltaro::gui {
namespace {

// The item of `menu` named `name`; null when there is none.
QAction* itemNamed(QMenu* menu, const char* name)
{
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String(name))
            return action;
    }
    return nullptr;
}

// Puts `action` after the item named `after`, or last when there is none.
void insertAfter(QMenu* menu, const char* after, QAction* action)
{
    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(itemNamed(menu, after));
    menu->insertAction(at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr, action);
}

}  // namespace

MoneyCommands::MoneyCommands(WindowHost& host, QMenu* settingsMenu, QMenu* manageMenu, LastCalculation lastCalculation)
    : QObject(host.hostWidget()), host_(host), lastCalculation_(std::move(lastCalculation))
{
    setObjectName(QStringLiteral("moneyCommands"));
    auto* payout = new QAction(QStringLiteral("奖金设置(&M)..."), settingsMenu);
    payout->setObjectName(QStringLiteral("mnuPayout"));
    insertAfter(settingsMenu, "mnuGame", payout);
    connect(payout, &QAction::triggered, this, &MoneyCommands::openPayoutDialog);

    auto* plan = new QAction(QStringLiteral("倍投计划(&B)..."), manageMenu);
    plan->setObjectName(QStringLiteral("mnuChasePlan"));
    insertAfter(manageMenu, "mnuJournal", plan);
    connect(plan, &QAction::triggered, this, &MoneyCommands::openChasePlan);
}

void MoneyCommands::openPayoutDialog()
{
    auto* dialog = new PayoutDialog(host_.session().store(), host_.hostWidget());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (planWindow_)
        connect(dialog, &PayoutDialog::prizeTableChanged, planWindow_, &ChasePlanWindow::recalculate);
    dialog->open();
}

void MoneyCommands::openChasePlan()
{
    if (!planWindow_) {
        planWindow_ = new ChasePlanWindow(host_.session().store(), [this]() -> std::optional<LastKeptDigits> {
            const std::optional<CategoryCalculation>& calculation = lastCalculation_();
            if (!calculation)
                return std::nullopt;
            LastKeptDigits kept{calculation->category, calculation->period, {}};
            for (const SlotCalculation& slot : calculation->slotResults)
                kept.keptSets.push_back(keptDigits(slot.counts, calculation->kind));
            return kept;
        }, host_.hostWidget());
    }
    showInFront(planWindow_);
}

}  // namespace qeltaro::gui
