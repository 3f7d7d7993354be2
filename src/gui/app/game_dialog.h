#pragma once
// 彩种设置 (frmGame): the game the store serves. While the history is empty every part of it can
// change; once draws are stored their periods and derived columns follow the game, so only the
// name and the draw schedule can.

#include "domain/game.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qeltaro {
class Store;
}

namespace qeltaro::gui {

class GameDialog : public QDialog {
    Q_OBJECT
public:
    GameDialog(Store& store, QWidget* parent = nullptr);

    // The game as the boxes show it.
    Game shownGame() const;
    // Stores the game shown and closes; a refusal is shown and the dialog stays open with what
    // was typed.
    void save();

signals:
    void gameChanged();

private:
    void showGame(const Game& game);
    void showExample();

    Store& store_;
    QLineEdit* nameBox_ = nullptr;
    QSpinBox* drawsPerDayBox_ = nullptr;
    QComboBox* issueDigitsBox_ = nullptr;
    std::array<QRadioButton*, 2> numberingOptions_{};  // 按日期 / 按年份
    QLineEdit* scheduleBox_ = nullptr;
    QLabel* exampleLabel_ = nullptr;
    QLabel* lockedLabel_ = nullptr;
};

}  // namespace qeltaro::gui
