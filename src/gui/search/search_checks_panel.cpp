#include "gui/search/search_checks_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>

namespace qeltaro::gui {

SearchChecksPanel::SearchChecksPanel(QWidget* parent) : QGroupBox(QStringLiteral("与随机比较"), parent)
{
    setObjectName(QStringLiteral("fraChecks"));
    holdoutCheck_ = new QCheckBox(QStringLiteral("留出最新"));
    holdoutCheck_->setObjectName(QStringLiteral("chkHoldout"));
    holdoutCheck_->setToolTip(QStringLiteral("搜索只用这些期之前的历史；搜到的公式再在这些没见过的期上检验是否高于随机"));
    holdoutBox_ = new QSpinBox;
    holdoutBox_->setObjectName(QStringLiteral("txtHoldout"));
    holdoutBox_->setRange(1, 100000);
    holdoutBox_->setValue(kDefaultHoldoutPeriods);
    holdoutBox_->setEnabled(false);
    connect(holdoutCheck_, &QCheckBox::toggled, holdoutBox_, &QWidget::setEnabled);
    realRate_ = new QLineEdit;
    realRate_->setObjectName(QStringLiteral("txtRealRate"));
    shuffledRate_ = new QLineEdit;
    shuffledRate_->setObjectName(QStringLiteral("txtShuffledRate"));
    shuffledRate_->setToolTip(QStringLiteral("同样的公式在开奖顺序被打乱的历史上的通过率：打乱后上期与下期毫无关系，通过全凭运气"));
    for (QLineEdit* box : {realRate_, shuffledRate_}) {
        box->setReadOnly(true);
        box->setFixedWidth(90);
    }
    verdict_ = new QLabel;
    verdict_->setObjectName(QStringLiteral("lblVerdict"));
    verdict_->setWordWrap(true);
    verdict_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* holdout = new QHBoxLayout;
    holdout->addWidget(holdoutCheck_);
    holdout->addWidget(holdoutBox_);
    holdout->addWidget(new QLabel(QStringLiteral("期作检验")));
    holdout->addStretch();
    auto* rates = new QGridLayout;
    rates->addWidget(new QLabel(realPassRateLabel()), 0, 0);
    rates->addWidget(realRate_, 0, 1);
    rates->addWidget(new QLabel(shuffledPassRateLabel()), 1, 0);
    rates->addWidget(shuffledRate_, 1, 1);
    rates->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(holdout);
    layout->addLayout(rates);
    layout->addWidget(verdict_);
    layout->addStretch();
}

int SearchChecksPanel::holdoutPeriods() const
{
    return holdoutCheck_->isChecked() ? holdoutBox_->value() : 0;
}

void SearchChecksPanel::clear()
{
    realRate_->clear();
    shuffledRate_->clear();
    verdict_->clear();
}

void SearchChecksPanel::showRates(std::uint64_t verified, std::uint64_t realPasses, std::uint64_t shuffledPasses)
{
    if (verified == 0)
        return;
    realRate_->setText(passRateText(double(realPasses) / double(verified)));
    shuffledRate_->setText(passRateText(double(shuffledPasses) / double(verified)));
}

void SearchChecksPanel::showOutcome(const std::optional<ShuffledControl>& control, int holdoutPeriods,
                                   const std::vector<FoundFormula>& found)
{
    QStringList lines;
    if (control) {
        showRates(control->verified, control->realPasses, control->shuffledPasses);
        lines << shuffledControlVerdict(*control);
    }
    if (holdoutPeriods > 0) {
        const auto beating = std::count_if(found.begin(), found.end(),
                                           [](const FoundFormula& f) { return f.holdout && f.holdout->beatsChance; });
        lines << QStringLiteral("留出最新%1期检验：本次搜到的%2条公式中%3条在留出期高于随机。")
                     .arg(holdoutPeriods)
                     .arg(found.size())
                     .arg(beating);
    }
    lines.removeAll(QString());
    verdict_->setText(lines.join(u'\n'));
}

QString holdoutText(int periods, const HoldoutResult& result)
{
    if (result.trials == 0)
        return QStringLiteral("留出最新%1期：公式在这些期没有给出0-9的号码，无从与随机比较").arg(periods);
    return QStringLiteral("留出最新%1期：命中%2/%3期（%4%），随机命中率%5%，p值%6，%7")
        .arg(periods)
        .arg(result.hits)
        .arg(result.trials)
        .arg(result.rate() * 100, 0, 'f', 2)
        .arg(result.chance * 100, 0, 'f', 2)
        .arg(result.pValue, 0, 'g', 3)
        .arg(result.beatsChance ? QStringLiteral("高于随机") : QStringLiteral("不高于随机"));
}

}  // namespace qeltaro::gui
