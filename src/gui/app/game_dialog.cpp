#include "gui/app/game_dialog.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "history/draw_history.h"
#include "history/game_schedule.h"
#include "store/store.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qeltaro::gui {
namespace {

const QString kTitle = QStringLiteral("彩种设置");

}  // namespace

GameDialog::GameDialog(Store& store, QWidget* parent) : QDialog(parent), store_(store)
{
    setObjectName(QStringLiteral("frmGame"));
    setWindowTitle(kTitle);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    nameBox_ = namedBox(QStringLiteral("txtGameName"), 220);
    nameBox_->setToolTip(QStringLiteral("显示在主窗口标题栏"));
    form->addRow(QStringLiteral("彩种名称："), nameBox_);

    drawsPerDayBox_ = new QSpinBox;
    drawsPerDayBox_->setObjectName(QStringLiteral("txtDrawsPerDay"));
    drawsPerDayBox_->setRange(1, Game::kMaxDrawsPerDay);
    drawsPerDayBox_->setToolTip(QStringLiteral("1～%1期；每分钟一期为每天%1期").arg(Game::kMaxDrawsPerDay));
    form->addRow(QStringLiteral("每天开奖期数："), drawsPerDayBox_);

    issueDigitsBox_ = new QComboBox;
    issueDigitsBox_->setObjectName(QStringLiteral("cboIssueDigits"));
    issueDigitsBox_->addItem(QStringLiteral("3位（001～999）"), 3);
    issueDigitsBox_->addItem(QStringLiteral("4位（0001～9999）"), 4);
    form->addRow(QStringLiteral("期数位数："), issueDigitsBox_);

    auto* numbering = new QVBoxLayout;
    numberingOptions_[0] = addOption(numbering, QStringLiteral("optNumbering_0"),
                                     QStringLiteral("按日期：期号为年月日（YYMMDD）加当天的期数"));
    numberingOptions_[1] = addOption(numbering, QStringLiteral("optNumbering_1"),
                                     QStringLiteral("按年份：期号为年份（YY）加全年的序号，每期另填开奖日期"));
    form->addRow(QStringLiteral("期号编排："), numbering);

    exampleLabel_ = textLabel(QStringLiteral("lblExample"));
    form->addRow(QStringLiteral("期号示例："), exampleLabel_);

    scheduleBox_ = namedBox(QStringLiteral("txtSchedule"), 300);
    scheduleBox_->setPlaceholderText(QStringLiteral("例如 00:05/5/23,10:00/10/73,22:05/5/24"));
    scheduleBox_->setToolTip(QStringLiteral("各段为“首期时间/间隔分钟/期数”，用逗号分开，按本机时间；各段期数之和等于每天开奖期数。\n"
                                            "自动更新开奖按它在开奖时间读取网页；留空则每隔一段时间读取。"));
    form->addRow(QStringLiteral("开奖时间表："), scheduleBox_);
    layout->addLayout(form);

    lockedLabel_ = textLabel(QStringLiteral("lblLocked"));
    lockedLabel_->setMaximumWidth(480);
    layout->addWidget(lockedLabel_);

    QPushButton* saveButton = namedButton(QStringLiteral("cmdSave"), QStringLiteral("保存(&S)"));
    saveButton->setDefault(true);
    connect(saveButton, &QPushButton::clicked, this, &GameDialog::save);
    layout->addLayout(rightButtons({saveButton, closeWindowButton(this)}));

    connect(nameBox_, &QLineEdit::textChanged, this, &GameDialog::showExample);
    connect(scheduleBox_, &QLineEdit::textChanged, this, &GameDialog::showExample);
    connect(drawsPerDayBox_, &QSpinBox::valueChanged, this, &GameDialog::showExample);
    connect(issueDigitsBox_, &QComboBox::currentIndexChanged, this, &GameDialog::showExample);
    for (QRadioButton* option : numberingOptions_)
        connect(option, &QRadioButton::toggled, this, &GameDialog::showExample);
    showGame(store_.game());
}

void GameDialog::showGame(const Game& game)
{
    nameBox_->setText(game.name);
    drawsPerDayBox_->setValue(game.drawsPerDay);
    issueDigitsBox_->setCurrentIndex(game.issueDigits == 4 ? 1 : 0);
    numberingOptions_[game.numbering == Numbering::Year ? 1 : 0]->setChecked(true);
    auto schedule = readGameSchedule(store_);
    scheduleBox_->setText(schedule ? schedule->text() : QString());

    // Stored periods and derived columns were written for this game: only its name may change.
    auto draws = DrawHistory(store_).count();
    const bool locked = !draws || *draws > 0;
    drawsPerDayBox_->setEnabled(!locked);
    issueDigitsBox_->setEnabled(!locked);
    for (QRadioButton* option : numberingOptions_)
        option->setEnabled(!locked);
    lockedLabel_->setVisible(locked);
    if (!draws)
        lockedLabel_->setText(draws.error().message);
    else if (locked)
        lockedLabel_->setText(QStringLiteral("历史号码中已有%1期号码，期号和派生列都按当前彩种计算，只能更改名称和开奖时间表。"
                                             "其他彩种请使用另一个数据文件夹（设置 → 切换数据文件夹...）。")
                                  .arg(*draws));
    showExample();
}

Game GameDialog::shownGame() const
{
    Game game;
    game.name = nameBox_->text().trimmed();
    game.drawsPerDay = drawsPerDayBox_->value();
    game.issueDigits = issueDigitsBox_->currentData().toInt();
    game.numbering = numberingOptions_[1]->isChecked() ? Numbering::Year : Numbering::Date;
    return game;
}

void GameDialog::showExample()
{
    const Game game = shownGame();
    auto schedule = parseDrawSchedule(scheduleBox_->text());
    std::optional<QString> problem = game.problem();
    if (!problem)
        problem = schedule ? scheduleProblem(*schedule, game) : std::optional<QString>(schedule.error().message);
    if (problem) {
        exampleLabel_->setText(QStringLiteral("<span style=\"color:#c00000\">%1</span>").arg(problem->toHtmlEscaped()));
        return;
    }
    const QString first = game.examplePeriod();
    const QString prefix = first.left(first.size() - game.issueDigits);
    if (game.numbering == Numbering::Date) {
        exampleLabel_->setText(QStringLiteral("%1 ～ %2（每天%3期）")
                                   .arg(first, prefix + game.issueText(game.lastIssue()))
                                   .arg(game.drawsPerDay));
    } else {
        exampleLabel_->setText(QStringLiteral("%1 为20%2年第1期（每年最多%3期）").arg(first, prefix).arg(game.drawsPerDay * 366));
    }
}

void GameDialog::save()
{
    auto schedule = parseDrawSchedule(scheduleBox_->text());
    if (!schedule) {
        Dialogs::warn(this, kTitle, schedule.error().message);
        return;
    }
    const Game game = shownGame();
    auto stored = readGameSchedule(store_);
    if (game == store_.game() && stored && *stored == *schedule) {
        accept();
        return;
    }
    if (Status s = changeGame(store_, game, *schedule); !s) {
        Dialogs::warn(this, kTitle, s.error().message);
        return;
    }
    emit gameChanged();
    accept();
}

}  // namespace qeltaro::gui
