#pragma once
// The named controls the windows are built from: tests, settings and pictures find each
// control by its object name.

#include <QString>

#include <array>
#include <initializer_list>
#include <span>

class QBoxLayout;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qeltaro::gui {

QPushButton* namedButton(const QString& name, const QString& caption);

// A text box `width` pixels wide.
QLineEdit* namedBox(const QString& name, int width, bool readOnly = false);

// "关闭(&C)" (cmdClose), which closes `window`, as Esc does.
QPushButton* closeWindowButton(QWidget* window);

// A radio button added to `layout`.
QRadioButton* addOption(QLayout* layout, const QString& name, const QString& caption);

// A label for text that wraps and that the user may select and copy.
QLabel* textLabel(const QString& name);

// The lower and upper bound boxes (Text1_0 .. Text1_9) of the five statistics of a formula, each
// `width` pixels wide, in rows under their captions; `boxes` receives the ten.
QGridLayout* statisticBoundsGrid(std::span<QLineEdit*, 10> boxes, int width);

// Shows `window` and brings it to the front.
void showInFront(QWidget* window);

// A titled frame around `content`.
QGroupBox* titledFrame(const QString& title, QLayout* content);

// The frames that choose a category and its kind: 位数选择 (optXing_1..5, in positions[1..5]),
// 玩法选择 (opTDG_0 直选, opTDG_1 组选) and 生杀 (Option2_0 杀, Option2_1 生).
struct CategoryFrames {
    QGroupBox* positions = nullptr;
    QGroupBox* play = nullptr;
    QGroupBox* kind = nullptr;
};
CategoryFrames categoryFrames(std::array<QRadioButton*, 6>& positions, std::array<QRadioButton*, 2>& play,
                              std::array<QRadioButton*, 2>& kind);

// Buttons on the right of a row, as the windows end.
QBoxLayout* rightButtons(std::initializer_list<QPushButton*> buttons);

}  // namespace qeltaro::gui
