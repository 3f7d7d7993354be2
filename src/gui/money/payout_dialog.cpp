#include "gui/money/payout_dialog.h"

#include "domain/category.h"
#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "money/prize_settings.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qeltaro::gui {
namespace {

const QString kTitle = QStringLiteral("奖金设置");

QString rateText(double rate)
{
    return QStringLiteral("返奖率 %1%").arg(QString::number(rate * 100.0, 'g', 6));
}

}  // namespace

PayoutDialog::PayoutDialog(Store& store, QWidget* parent) : QDialog(parent), store_(store)
{
    setObjectName(QStringLiteral("frmPayout"));
    setWindowTitle(kTitle);

    auto* grid = new QGridLayout;
    stakeBox_ = namedBox(QStringLiteral("txtStake"), 120);
    grid->addWidget(new QLabel(QStringLiteral("每注金额：")), 0, 0);
    grid->addWidget(stakeBox_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("元")), 0, 2);
    for (int n = 1; n <= 5; ++n) {
        QLineEdit*& box = prizeBoxes_[size_t(n - 1)];
        box = namedBox(QStringLiteral("txtPrize_%1").arg(n), 120);
        QLabel*& rate = rateLabels_[size_t(n - 1)];
        rate = new QLabel;
        rate->setObjectName(QStringLiteral("lblReturnRate_%1").arg(n));
        grid->addWidget(new QLabel(QStringLiteral("%1直选每注奖金：").arg(starWord(n))), n, 0);
        grid->addWidget(box, n, 1);
        grid->addWidget(new QLabel(QStringLiteral("元")), n, 2);
        grid->addWidget(rate, n, 3);
        connect(box, &QLineEdit::textChanged, this, &PayoutDialog::showReturnRates);
    }
    connect(stakeBox_, &QLineEdit::textChanged, this, &PayoutDialog::showReturnRates);
    grid->setColumnStretch(4, 1);

    QLabel* note = textLabel(QStringLiteral("lblPayoutNote"));
    note->setText(QStringLiteral("返奖率 = 奖金 ÷ (10的星数次方 × 每注金额)：随机开奖时每投入1元平均返还的金额。"
                                 "官方玩法每注2元，一星到五星奖金10、100、1000、10000、100000元，返奖率都是50%。"
                                 "金额精确到厘（0.001元）。奖金设置保存在当前数据文件夹，预测记录和倍投计划都按它计算。"));
    note->setMinimumWidth(420);
    problemLabel_ = textLabel(QStringLiteral("lblPayoutProblem"));

    QPushButton* officialButton = namedButton(QStringLiteral("cmdOfficial"), QStringLiteral("官方奖金(&O)"));
    connect(officialButton, &QPushButton::clicked, this, [this] { showTable(PrizeTable{}); });
    QPushButton* saveButton = namedButton(QStringLiteral("cmdSave"), QStringLiteral("保存(&S)"));
    saveButton->setDefault(true);
    connect(saveButton, &QPushButton::clicked, this, &PayoutDialog::save);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(problemLabel_);
    layout->addLayout(rightButtons({officialButton, saveButton, closeWindowButton(this)}));

    auto table = loadPrizeTable(store_);
    showTable(table ? *table : PrizeTable{});
    // A table that cannot be used is said; saving another one replaces it.
    if (!table)
        problemLabel_->setText(table.error().message + QStringLiteral("；下面是官方奖金。"));
}

void PayoutDialog::showTable(const PrizeTable& table)
{
    stakeBox_->setText(yuanText(table.stake));
    for (int n = 1; n <= 5; ++n)
        prizeBoxes_[size_t(n - 1)]->setText(yuanText(table.prize(n)));
    showReturnRates();
}

void PayoutDialog::showReturnRates()
{
    const Result<Mills> stake = parsePositiveYuan(stakeBox_->text(), QString(), PrizeTable::kLargestAmount);
    for (int n = 1; n <= 5; ++n) {
        const Result<Mills> prize = parsePositiveYuan(prizeBoxes_[size_t(n - 1)]->text(), QString(), PrizeTable::kLargestAmount);
        PrizeTable table;
        if (stake && prize) {
            table.stake = *stake;
            table.prizes[size_t(n - 1)] = *prize;
        }
        rateLabels_[size_t(n - 1)]->setText(stake && prize ? rateText(table.returnRate(n)) : QStringLiteral("返奖率 —"));
    }
}

void PayoutDialog::save()
{
    std::array<QString, 5> prizes;
    for (size_t i = 0; i < prizes.size(); ++i)
        prizes[i] = prizeBoxes_[i]->text();
    auto table = prizeTableOfTexts(stakeBox_->text(), prizes);
    Status saved = table ? savePrizeTable(store_, *table) : Status(table.error());
    if (!saved) {
        Dialogs::warn(this, kTitle, saved.error().message + QStringLiteral("；奖金设置没有改变。"));
        return;
    }
    emit prizeTableChanged();
    accept();
}

}  // namespace qeltaro::gui
