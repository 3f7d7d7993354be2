#include "gui/app/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qeltaro::gui {
namespace {

QAction* addItem(QMenu* menu, const char* name, const char16_t* caption)
{
    QAction* action = menu->addAction(QString::fromUtf16(caption));
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& title)
{
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

}  // namespace

HistoryMenu::HistoryMenu(QMenuBar* bar) : menu(addMenu(bar, "mnuLsgl", QStringLiteral("历史管理")))
{
    exportHistory = addItem(menu, "mnuDcls", u"导出历史号码(&O)");
    deleteAll = addItem(menu, "mnuDlAll", u"删除所有历史(&A）");
    deleteToSelected = addItem(menu, "mnuDlzd", u"删除到选定期(&D)");
    deleteLastN = addItem(menu, "mnuEszhzd", u"删除最后指定数量期历史(&E)");
    pasteHistory = addItem(menu, "mnuPasteHistory", u"从剪贴板导入历史(&V)");
    restoreBackup = addItem(menu, "mnuRestoreBackup", u"从备份恢复(&B)...");
}

FormulaMenu::FormulaMenu(QMenuBar* bar) : menu(addMenu(bar, "mnuMang", QStringLiteral("管理")))
{
    exportList = addItem(menu, "mnuExl", u"导出到EXCEL表格(&E)");
    steps = addItem(menu, "mnuGsls", u"查询该公式历史计算式(&U)");
    hitRate = addItem(menu, "mnuHitRate", u"命中率走势图(&R)");
    journal = addItem(menu, "mnuJournal", u"预测记录(&J)...");
    chasePlan = addItem(menu, "mnuChasePlan", u"倍投计划(&B)...");
    deleteThis = addItem(menu, "mnuDelGS", u"删除该公式(&D)");
    deleteSelected = addItem(menu, "mnuDelXzGS", u"删除选中所有公式(&C)");
    deleteLast = addItem(menu, "mnuDelLst", u"删除最后公式(&E)");
    deleteUnselected = addItem(menu, "mnuDelNXzGS", u"删除未选中公式(&X)");
}

DataMenuItems::DataMenuItems(QMenu* settings)
{
    settings->addSeparator();
    game = addItem(settings, "mnuGame", u"彩种设置(&G)...");
    payout = addItem(settings, "mnuPayout", u"奖金设置(&M)...");
    chooseFolder = addItem(settings, "mnuDataDir", u"切换数据文件夹(&F)...");
    recentFolders = settings->addMenu(QStringLiteral("最近使用的数据文件夹(&L)"));
    recentFolders->setObjectName(QStringLiteral("mnuRecentDataDirs"));
}

}  // namespace qeltaro::gui
