#pragma once
// 奖金设置 (frmPayout): the data folder's prize table, the stake of one bet and the prize of one
// winning direct bet on 1 to 5 positions, with the return rate each gives as it is typed.

#include "domain/prize_table.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;

namespace qeltaro {
class Store;
}

namespace qeltaro::gui {

class PayoutDialog : public QDialog {
    Q_OBJECT
public:
    PayoutDialog(Store& store, QWidget* parent = nullptr);

    // Stores the table typed and closes; a refused value is said and nothing is changed.
    void save();

signals:
    void prizeTableChanged();

private:
    void showTable(const PrizeTable& table);
    void showReturnRates();

    Store& store_;
    QLineEdit* stakeBox_ = nullptr;
    std::array<QLineEdit*, 5> prizeBoxes_{};
    std::array<QLabel*, 5> rateLabels_{};
    QLabel* problemLabel_ = nullptr;
};

}  // namespace qeltaro::gui
