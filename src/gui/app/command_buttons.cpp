#include "gui/app/command_buttons.h"

#include "gui/common/widgets.h"

#include <QGridLayout>
#include <QPushButton>

namespace qeltaro::gui {

CommandButtons::CommandButtons(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    constexpr int kColumns = 6;
    int at = 0;
    // Row by row, in the order the buttons stand.
    auto add = [&](const char* name, const char16_t* caption) {
        QPushButton* button = namedButton(QLatin1String(name), QString::fromUtf16(caption));
        grid->addWidget(button, at / kColumns, at % kColumns);
        ++at;
        return button;
    };
    calculate = add("Command23", u"计算公式(&C)");
    filter = add("Command7", u"公式过滤设置");
    selectAll = add("Command8", u"选中所有公式");
    invertSelection = add("Command5", u"反选所有公式");
    clearFormulas = add("Command2", u"清空所有公式");
    replay = add("Command12", u"公式往期位置值结果列表");
    search = add("Command22", u"公式搜索(&F)");
    importFormulas = add("Command10", u"读取公式文本(N)");
    updateFormulas = add("cmdGsgx", u"公式在线更新（&W)");
    exportAllCategories = add("Command11", u"所有类公式中文导出");
    exportCategory = add("Command20", u"所选类公式中文导出");
    exportSheet = add("cmdDcexl", u"导出列表到Excel");
    parameterReference = add("Command4", u"公式参数对照说明(&I)");
    settings = add("Command9", u"软件设置(&T)");
    updateHistory = add("Command21", u"开奖历史在线更新(&O)");
    exportHistoryText = add("cmdLsdcTxt", u"历史号码导出文本文件(&X)");
    deleteLastDraw = add("Command3", u"删除最后历史(&D)");
    guide = add("Command18", u"使用说明文档下载(&L)");
    tour = add("Command6", u"演示说明录像下载(&M)");
    pictures = add("Command139", u"幻灯图示说明下载(&P)");

    const QString selectionTip = QStringLiteral("执行公式列表中序号为蓝色的公式");
    for (QPushButton* button : {clearFormulas, selectAll, invertSelection})
        button->setToolTip(selectionTip);
    updateHistory->setToolTip(QStringLiteral("从官方服务器更新历史号码"));
}

}  // namespace qeltaro::gui
