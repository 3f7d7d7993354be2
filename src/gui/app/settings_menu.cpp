#include "gui/app/settings_menu.h"

#include "gui/common/dialogs.h"
#include "gui/common/online_address.h"

#include <QActionGroup>
#include <QMenu>

namespace qeltaro::gui {

SettingsMenu::SettingsMenu(Settings& settings, SettingsMirror& mirror, QWidget* parent)
    : QObject(parent), settings_(settings), mirror_(mirror), parent_(parent), menu_(new QMenu(QStringLiteral("设置"), parent))
{
    menu_->setObjectName(QStringLiteral("mnuSetup"));

    auto* rows = new QActionGroup(this);
    const QString rowCaptions[2] = {QStringLiteral("历史列表公式验算结果显示在下期(&N)"),
                                    QStringLiteral("历史列表公式验算结果显示在当期(&T)")};
    for (int i = 0; i < 2; ++i) {
        QAction* action = menu_->addAction(rowCaptions[i]);
        action->setObjectName(QStringLiteral("mnuYsXs_%1").arg(i));
        action->setCheckable(true);
        rows->addAction(action);
        rowActions_[size_t(i)] = action;
        connect(action, &QAction::triggered, this, [this, i] {
            settings_.setShowOnCurrentRow(mirror_, i != 0);
            syncChecks();
        });
    }
    menu_->addSeparator();

    QMenu* window = menu_->addMenu(QStringLiteral("检索期数设置(&Q)"));
    window->setObjectName(QStringLiteral("mnuJsqs"));
    excludeCurrent_ = window->addAction(QStringLiteral("检索期数前溯不含当前期"));
    excludeCurrent_->setObjectName(QStringLiteral("mnuBuhan"));
    excludeCurrent_->setCheckable(true);
    connect(excludeCurrent_, &QAction::triggered, this, [this] {
        settings_.toggleWindowExcludesCurrent(mirror_);
        syncChecks();
    });
    auto* windows = new QActionGroup(this);
    for (int i = 0; i < kPeriodWindowChoices; ++i) {
        QAction* action = window->addAction(periodWindowCaption(i));
        action->setObjectName(QStringLiteral("mnuQs_%1").arg(i));
        action->setCheckable(true);
        windows->addAction(action);
        windowActions_[size_t(i)] = action;
        connect(action, &QAction::triggered, this, [this, i] {
            settings_.setPeriodWindowIndex(mirror_, i);
            syncChecks();
            emit periodWindowChanged();
        });
    }

    weighted_ = menu_->addAction(QStringLiteral("正确率使用期数加权算法(&A)"));
    weighted_->setObjectName(QStringLiteral("mnuZqlJq"));
    weighted_->setCheckable(true);
    connect(weighted_, &QAction::triggered, this, [this] {
        settings_.toggleWeightedRate(mirror_);
        syncChecks();
    });

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
