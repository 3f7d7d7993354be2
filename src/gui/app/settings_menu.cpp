#include "gui/app/settings_menu.h"

#include "gui/common/dialogs.h"
#include "gui/common/online_address.h"

#include <QActionGroup>
#include <QMenu>

namespace qeltaro::gui {

QAction* SettingsMenu::addSetting(QMenu* menu, const QString& name, const QString& caption,
                                  const std::function<void()>& change)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, change] {
        change();
        syncChecks();
    });
    return action;
}

SettingsMenu::SettingsMenu(Settings& settings, SettingsMirror& mirror, QWidget* parent)
    : QObject(parent), settings_(settings), mirror_(mirror), parent_(parent), menu_(new QMenu(QStringLiteral("设置"), parent))
{
    menu_->setObjectName(QStringLiteral("mnuSetup"));

    auto* rows = new QActionGroup(this);
    const QString rowCaptions[2] = {QStringLiteral("历史列表公式验算结果显示在下期(&N)"),
                                    QStringLiteral("历史列表公式验算结果显示在当期(&T)")};
    for (int i = 0; i < 2; ++i) {
        rowActions_[size_t(i)] = addSetting(menu_, QStringLiteral("mnuYsXs_%1").arg(i), rowCaptions[i],
                                            [this, i] { settings_.setShowOnCurrentRow(mirror_, i != 0); });
        rows->addAction(rowActions_[size_t(i)]);
    }
    menu_->addSeparator();

    QMenu* window = menu_->addMenu(QStringLiteral("检索期数设置(&Q)"));
    window->setObjectName(QStringLiteral("mnuJsqs"));
    excludeCurrent_ = addSetting(window, QStringLiteral("mnuBuhan"), QStringLiteral("检索期数前溯不含当前期"),
                                 [this] { settings_.toggleWindowExcludesCurrent(mirror_); });
    auto* windows = new QActionGroup(this);
    for (int i = 0; i < kPeriodWindowChoices; ++i) {
        windowActions_[size_t(i)] = addSetting(window, QStringLiteral("mnuQs_%1").arg(i), periodWindowCaption(i),
                                               [this, i] { settings_.setPeriodWindowIndex(mirror_, i); });
        windows->addAction(windowActions_[size_t(i)]);
        // After the check marks, as the back-test reads the window the mirror now holds.
        connect(windowActions_[size_t(i)], &QAction::triggered, this, &SettingsMenu::periodWindowChanged);
    }

    weighted_ = addSetting(menu_, QStringLiteral("mnuZqlJq"), QStringLiteral("正确率使用期数加权算法(&A)"),
                           [this] { settings_.toggleWeightedRate(mirror_); });

    QAction* days = menu_->addAction(QStringLiteral("历史号码更新检索天数设置(&D)"));
    days->setObjectName(QStringLiteral("mnuSetDay"));
    connect(days, &QAction::triggered, this, &SettingsMenu::askSearchDays);

    const std::pair<const char*, OnlineSource> addresses[] = {{"mnuHistoryUrl", OnlineSource::History},
                                                              {"mnuFormulaUrl", OnlineSource::Formulas}};
    for (const auto& [name, source] : addresses) {
        QAction* address = menu_->addAction(onlineAddressTitle(source) + QStringLiteral("..."));
        address->setObjectName(QLatin1String(name));
        connect(address, &QAction::triggered, this, [this, source] { askOnlineAddress(parent_, settings_, source); });
    }

    QAction* restore = menu_->addAction(QStringLiteral("恢复默认设置(&R)"));
    restore->setObjectName(QStringLiteral("meuHfmr"));
    connect(restore, &QAction::triggered, this, [this] {
        settings_.restoreDefaults(mirror_);
        syncChecks();
    });
    syncChecks();
}

void SettingsMenu::syncChecks()
{
    rowActions_[0]->setChecked(!mirror_.showOnCurrentRow);
    rowActions_[1]->setChecked(mirror_.showOnCurrentRow);
    excludeCurrent_->setChecked(mirror_.windowExcludesCurrent);
    for (int i = 0; i < kPeriodWindowChoices; ++i)
        windowActions_[size_t(i)]->setChecked(i == mirror_.periodWindowIndex);
    weighted_->setChecked(mirror_.weightedRate);
}

void SettingsMenu::askSearchDays()
{
    mirror_.searchDays = settings_.read().searchDays;
    for (;;) {
        const auto answer = Dialogs::askText(parent_, QStringLiteral("设置天数"),
                                             QStringLiteral("请输入需要统计的历史号码的天数（2~10中的任意自然数）"),
                                             QString::number(mirror_.searchDays));
        if (!answer || answer->trimmed().isEmpty())
            return;
        if (const auto days = parseSearchDays(*answer)) {
            settings_.setSearchDays(mirror_, *days);
            return;
        }
        Dialogs::warn(parent_, QStringLiteral("输入有误"), searchDaysRefusal());
    }
}

}  // namespace qeltaro::gui
