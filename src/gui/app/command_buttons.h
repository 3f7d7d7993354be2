#pragma once
// The grid of command buttons under the formula list, each a typed member. The object names
// (Command23 and the like) stay: tests, pictures and users' habits know the buttons by them.

#include <QWidget>

class QPushButton;

namespace qeltaro::gui {

class CommandButtons : public QWidget {
public:
    explicit CommandButtons(QWidget* parent = nullptr);

    QPushButton* calculate = nullptr;           // Command23 计算公式
    QPushButton* filter = nullptr;              // Command7 公式过滤设置
    QPushButton* selectAll = nullptr;           // Command8 选中所有公式
    QPushButton* invertSelection = nullptr;     // Command5 反选所有公式
    QPushButton* clearFormulas = nullptr;       // Command2 清空所有公式
    QPushButton* replay = nullptr;              // Command12 公式往期位置值结果列表
    QPushButton* search = nullptr;              // Command22 公式搜索
    QPushButton* importFormulas = nullptr;      // Command10 读取公式文本
    QPushButton* updateFormulas = nullptr;      // cmdGsgx 公式在线更新
    QPushButton* exportAllCategories = nullptr; // Command11 所有类公式中文导出
    QPushButton* exportCategory = nullptr;      // Command20 所选类公式中文导出
    QPushButton* exportSheet = nullptr;         // cmdDcexl 导出列表到Excel
    QPushButton* parameterReference = nullptr;  // Command4 公式参数对照说明
    QPushButton* settings = nullptr;            // Command9 软件设置
    QPushButton* updateHistory = nullptr;       // Command21 开奖历史在线更新
    QPushButton* exportHistoryText = nullptr;   // cmdLsdcTxt 历史号码导出文本文件
    QPushButton* deleteLastDraw = nullptr;      // Command3 删除最后历史
    QPushButton* guide = nullptr;               // Command18 使用说明文档下载
    QPushButton* tour = nullptr;                // Command6 演示说明录像下载
    QPushButton* pictures = nullptr;            // Command139 幻灯图示说明下载
};

}  // namespace qeltaro::gui
