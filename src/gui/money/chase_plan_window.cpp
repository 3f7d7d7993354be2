#include "gui/money/chase_plan_window.h"

#include "domain/prediction_money.h"
#include "gui/common/cell_table_model.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "money/prize_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace qeltaro::gui {
namespace {

const QString kTitle = QStringLiteral("倍投计划");

QDoubleSpinBox* amountBox(const char* name, int decimals, double lowest, double highest, double value, const QString& suffix)
{
    auto* box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setDecimals(decimals);
    box->setRange(lowest, highest);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QSpinBox* countBox(const char* name, int highest, int value, const QString& suffix)
{
    auto* box = new QSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setRange(1, highest);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

QString problemHtml(const QString& message)
{
    return QStringLiteral("<span style=\"color:#c00000\">%1</span>").arg(message.toHtmlEscaped());
}

}  // namespace

ChasePlanWindow::ChasePlanWindow(Store& store, std::function<std::optional<LastKeptDigits>()> lastKept, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store), lastKept_(std::move(lastKept))
{
    setObjectName(QStringLiteral("frmChasePlan"));
    setWindowTitle(kTitle);

    starsBox_ = new QComboBox;
    starsBox_->setObjectName(QStringLiteral("cboStars"));
    for (int n = 1; n <= 5; ++n)
        starsBox_->addItem(starWord(n) + QStringLiteral("直选"), n);
    starsBox_->setCurrentIndex(2);
    betsBox_ = countBox("txtBets", int(combinationsOf(5)), 100, QStringLiteral(" 注"));
    betsBox_->setToolTip(QStringLiteral("每期买的直选注数，1到10的星数次方"));
    periodsBox_ = countBox("txtPeriods", ChasePlanRequest::kMaxPeriods, 10, QStringLiteral(" 期"));
    periodsBox_->setToolTip(QStringLiteral("最多追这么多期；中奖即停"));
    fillButton_ = namedButton(QStringLiteral("cmdFromCalculation"), QStringLiteral("按上次计算的保留号码(&L)"));
    fillButton_->setToolTip(QStringLiteral("星数和注数取自主窗口最近一次“计算公式”保留的号码：每个组合一注直选"));
    filledLabel_ = textLabel(QStringLiteral("lblFromCalculation"));

    rateOption_ = new QRadioButton(QStringLiteral("中奖后盈利至少为累计投入的"));
    rateOption_->setObjectName(QStringLiteral("optProfitRate"));
    rateOption_->setChecked(true);
    rateBox_ = amountBox("txtProfitRate", 4, 0, 100'000, 10, QStringLiteral(" %"));
    profitOption_ = new QRadioButton(QStringLiteral("中奖后盈利至少"));
    profitOption_->setObjectName(QStringLiteral("optProfit"));
    profitBox_ = amountBox("txtProfit", 3, 0.001, 1e12, 100, QStringLiteral(" 元"));
    hitRateCheck_ = new QCheckBox(QStringLiteral("假定每期命中率"));
    hitRateCheck_->setObjectName(QStringLiteral("chkHitRate"));
    hitRateCheck_->setToolTip(QStringLiteral("不勾选时按随机机会：注数 ÷ 10的星数次方"));
    hitRateBox_ = amountBox("txtHitRate", 4, 0.0001, 100, 10, QStringLiteral(" %"));
    hitRateBox_->setEnabled(false);
    prizesLabel_ = textLabel(QStringLiteral("lblPrizes"));

    auto* inputs = new QGridLayout;
    inputs->addWidget(new QLabel(QStringLiteral("玩法：")), 0, 0);
    inputs->addWidget(starsBox_, 0, 1);
    inputs->addWidget(new QLabel(QStringLiteral("每期注数：")), 0, 2);
    inputs->addWidget(betsBox_, 0, 3);
    inputs->addWidget(fillButton_, 0, 4);
    inputs->addWidget(new QLabel(QStringLiteral("追号期数：")), 1, 0);
    inputs->addWidget(periodsBox_, 1, 1);
    inputs->addWidget(filledLabel_, 1, 2, 1, 3);
    inputs->addWidget(rateOption_, 2, 0, 1, 2);
    inputs->addWidget(rateBox_, 2, 2, 1, 2);
    inputs->addWidget(profitOption_, 3, 0, 1, 2);
    inputs->addWidget(profitBox_, 3, 2, 1, 2);
    inputs->addWidget(hitRateCheck_, 4, 0, 1, 2);
    inputs->addWidget(hitRateBox_, 4, 2, 1, 2);
    inputs->setColumnStretch(5, 1);

    model_ = new CellTableModel(this);
    grid_ = new QTableView;
    setUpReadOnlyGrid(grid_, "grdPlan");
    grid_->setModel(model_);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    wordsLabel_ = textLabel(QStringLiteral("lblPlanWords"));
    wordsLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(prizesLabel_);
    layout->addWidget(grid_, 1);
    layout->addWidget(wordsLabel_);
    layout->addLayout(rightButtons({closeWindowButton(this)}));

    connect(starsBox_, &QComboBox::currentIndexChanged, this, &ChasePlanWindow::recalculate);
    for (QSpinBox* box : {betsBox_, periodsBox_})
        connect(box, &QSpinBox::valueChanged, this, &ChasePlanWindow::recalculate);
    for (QDoubleSpinBox* box : {rateBox_, profitBox_, hitRateBox_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &ChasePlanWindow::recalculate);
    for (QAbstractButton* option : std::initializer_list<QAbstractButton*>{rateOption_, profitOption_, hitRateCheck_})
        connect(option, &QAbstractButton::toggled, this, &ChasePlanWindow::recalculate);
    connect(hitRateCheck_, &QCheckBox::toggled, hitRateBox_, &QWidget::setEnabled);
    connect(fillButton_, &QPushButton::clicked, this, &ChasePlanWindow::fillFromLastCalculation);
    resize(820, 640);
    recalculate();
}

void ChasePlanWindow::showEvent(QShowEvent* event)
{
    // The prize table may have changed while the window was closed.
    recalculate();
    QWidget::showEvent(event);
}

ChasePlanRequest ChasePlanWindow::shownRequest() const
{
    ChasePlanRequest request;
    request.stars = starsBox_->currentData().toInt();
    request.bets = betsBox_->value();
    request.periods = periodsBox_->value();
    // The boxes hold four decimals of a percentage (six of the fraction) and three of a yuan.
    if (rateOption_->isChecked()) {
        request.target = PlanTarget::ProfitRate;
        request.profitRate = std::llround(rateBox_->value() * double(ChasePlanRequest::kRateScale) / 100.0);
    } else {
        request.target = PlanTarget::Profit;
        request.profit = std::llround(profitBox_->value() * double(kMillsPerYuan));
    }
    if (hitRateCheck_->isChecked())
        request.hitRate = hitRateBox_->value() / 100.0;
    return request;
}

void ChasePlanWindow::recalculate()
{
    const ChasePlanRequest request = shownRequest();
    auto prizes = loadPrizeTable(store_);
    Result<ChasePlan> plan = prizes ? planChase(request, *prizes) : Result<ChasePlan>(prizes.error());
    if (prizes) {
        prizesLabel_->setText(QStringLiteral("按当前奖金表（设置 → 奖金设置...）：每注%1元，%2直选每注奖金%3元，返奖率%4。")
                                  .arg(yuanText(prizes->stake), starWord(request.stars), yuanText(prizes->prize(request.stars)),
                                       chancePercentText(prizes->returnRate(request.stars))));
    }
    if (!plan) {
        model_->reset({});
        plan_.reset();
        wordsLabel_->setText(problemHtml(plan.error().message));
        return;
    }
    model_->reset({});
    plan_ = std::move(*plan);
    CellSource source;
    source.rows = int(plan_->steps.size());
    source.columns = int(chaseStepHeaders().size());
    source.header = [](int column) { return chaseStepHeaders().value(column); };
    source.text = [this](int row, int column) { return chaseStepTexts(plan_->steps[size_t(row)]).value(column); };
    source.alignment = [](int) { return Qt::AlignRight | Qt::AlignVCenter; };
    model_->reset(std::move(source));
    wordsLabel_->setText(chasePlanWords(*plan_).join(u'\n'));
}

void ChasePlanWindow::fillFromLastCalculation()
{
    const std::optional<LastKeptDigits> kept = lastKept_();
    if (!kept) {
        filledLabel_->setText(problemHtml(QStringLiteral("还没有计算：请先在主窗口按“计算公式”。")));
        return;
    }
    const std::int64_t bets = betsOf(kept->category, kept->keptSets);
    if (bets == 0) {
        filledLabel_->setText(problemHtml(QStringLiteral("第%1期的%2计算有一组保留号码为空，没有可买的注。")
                                              .arg(kept->period, kept->category.caption())));
        return;
    }
    starsBox_->setCurrentIndex(kept->category.positions - 1);
    betsBox_->setValue(int(bets));
    filledLabel_->setText(QStringLiteral("按第%1期%2的保留号码：%3注").arg(kept->period, kept->category.caption()).arg(bets));
}

}  // namespace qeltaro::gui
