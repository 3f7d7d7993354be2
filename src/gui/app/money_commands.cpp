#include "gui/app/money_commands.h"

#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/money/chase_plan_window.h"
#include "gui/money/payout_dialog.h"
#include "predictions/kept_digits.h"

namespace qeltaro::gui {

MoneyCommands::MoneyCommands(WindowHost& host, LastCalculation lastCalculation)
    : QObject(host.hostWidget()), host_(host), lastCalculation_(std::move(lastCalculation))
{
    setObjectName(QStringLiteral("moneyCommands"));
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
