#pragma once
// The addresses the online updates of the history and of the formulas start from, asked for and
// stored in the settings.

#include "settings/settings.h"

#include <QString>

#include <optional>

class QWidget;

namespace qeltaro::gui {

// The two online sources whose addresses the menu sets: HistoryUrl and FormulaUrl.
enum class OnlineSource { History, Formulas };

// The title of the source's address box: 开奖网址设置, 公式网址设置.
QString onlineAddressTitle(OnlineSource source);

// The address box (mnuHistoryUrl / mnuFormulaUrl), prefilled with the stored address: asks until
// the answer is an http or https address, which is stored, or the box is cancelled. Returns the
// stored address, or nullopt when nothing was stored.
std::optional<QString> askOnlineAddress(QWidget* parent, Settings& settings, OnlineSource source);
// The address an online update starts from. Without one the user is told so and offered the
// box; nullopt when there is still none.
std::optional<QString> onlineAddressOrAsk(QWidget* parent, Settings& settings, OnlineSource source);

}  // namespace qeltaro::gui
