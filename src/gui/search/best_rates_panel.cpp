#include "gui/search/best_rates_panel.h"

#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qeltaro::gui {
namespace {

// A scheme's checks in one sentence; the full ones in the tool tip.
QString schemeVerdict(const std::vector<RealityCheck>& checks)
{
    QStringList better;
    for (const RealityCheck& check : checks) {
        if (check.beatsLuck())
            better << check.category.caption();
    }
    QString text = QStringLiteral("%1类中%2类的最优公式比运气找到的更好").arg(checks.size()).arg(better.size());
    if (!better.isEmpty())
        text += QStringLiteral("：") + better.join(QStringLiteral("、"));
    return text + QStringLiteral("（各类详情见提示）。");
}

}  // namespace

BestRatesPanel::BestRatesPanel(QWidget* parent) : QGroupBox(QStringLiteral("最优公式与运气"), parent)
{
    setObjectName(QStringLiteral("fraBestRates"));
    bestReal_ = namedBox(QStringLiteral("txtBestRate"), 90, true);
    bestReal_->setToolTip(QStringLiteral("本次搜索验证过的全部公式（合格与否）在真实历史上的最高正确率"));
    bestShuffled_ = namedBox(QStringLiteral("txtBestShuffledRate"), 90, true);
    bestShuffled_->setToolTip(QStringLiteral("同样多的公式在打乱历史上的最高正确率：运气能做到的最好"));
    copies_ = new QSpinBox;
    copies_->setObjectName(QStringLiteral("txtRealityCopies"));
    copies_->setRange(1, kMaxRealityCopies);
    copies_->setValue(kDefaultRealityCopies);
    copies_->setSuffix(QStringLiteral("份"));
    copies_->setToolTip(QStringLiteral("把同样的搜索在这么多份打乱的历史上重做一遍；19份时p最小为0.05"));
    checkButton_ = namedButton(QStringLiteral("cmdRealityCheck"), realityCheckCaption());
    checkButton_->setToolTip(QStringLiteral("同样的候选公式、同样多的数量、同样的设置，在打乱的历史上各搜一遍，"
                                            "看最优公式是否比运气找到的最优公式更好"));
    connect(checkButton_, &QPushButton::clicked, this, &BestRatesPanel::startCheck);
    stopButton_ = namedButton(QStringLiteral("cmdRealityStop"), QStringLiteral("停止"));
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("prgReality"));
    progress_->setMaximumHeight(18);
    task_ = new BackgroundTask(progress_, stopButton_, this);
    verdict_ = textLabel(QStringLiteral("lblRealityVerdict"));
    verdict_->setWordWrap(true);
    verdict_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* rates = new QGridLayout;
    rates->addWidget(new QLabel(bestRealRateLabel()), 0, 0);
    rates->addWidget(bestReal_, 0, 1);
    rates->addWidget(new QLabel(bestShuffledRateLabel()), 1, 0);
    rates->addWidget(bestShuffled_, 1, 1);
    rates->setColumnStretch(2, 1);
    auto* check = new QHBoxLayout;
    check->addWidget(copies_);
    check->addWidget(checkButton_, 1);
    auto* running = new QHBoxLayout;
    running->addWidget(progress_, 1);
    running->addWidget(stopButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rates);
    layout->addLayout(check);
    layout->addLayout(running);
    layout->addWidget(verdict_);
    layout->addStretch();
    updateButton();
}

void BestRatesPanel::clear()
{
    bestReal_->clear();
    bestShuffled_->clear();
    verdict_->clear();
    verdict_->setToolTip(QString());
    history_.reset();
    request_.reset();
    updateButton();
}

void BestRatesPanel::showRates(const BestRates& best)
{
    bestReal_->setText(bestRateText(best.real));
    bestShuffled_->setText(bestRateText(best.shuffled));
}

void BestRatesPanel::offerCheck(std::shared_ptr<const HistoryColumns> history, RealityCheckRequest request)
{
    history_ = std::move(history);
    request_ = std::move(request);
    updateButton();
}

void BestRatesPanel::setCheckAllowed(bool allowed)
{
    allowed_ = allowed;
    updateButton();
}

void BestRatesPanel::startCheck()
{
    if (!request_ || !history_ || checking())
        return;
    RealityCheckRequest request = *request_;
    request.copies = copies_->value();
    auto result = std::make_shared<Result<std::vector<RealityCheck>>>(Error{});
    verdict_->setText(QStringLiteral("正在检验……"));
    task_->start([history = history_, request, result](Progress& progress) { *result = runRealityCheck(*history, request, &progress); },
                 [this, result] { finishCheck(*result); });
    updateButton();
    emit checkingChanged();
}

void BestRatesPanel::stopCheck()
{
    if (!checking())
        return;
    stopButton_->click();
    task_->wait();
}

bool BestRatesPanel::checking() const
{
    return task_->busy();
}

void BestRatesPanel::finishCheck(const Result<std::vector<RealityCheck>>& result)
{
    updateButton();
    emit checkingChanged();
    if (!result) {
        verdict_->setText(result.error().kind == ErrorKind::Cancelled ? QStringLiteral("已停止检验。") : QString());
        if (result.error().kind != ErrorKind::Cancelled)
            Dialogs::warn(this, realityCheckCaption(), result.error().message);
        return;
    }
    QStringList full;
    for (const RealityCheck& check : *result)
        full << (result->size() > 1 ? check.category.caption() + QStringLiteral("：") : QString()) + realityCheckVerdict(check);
    verdict_->setText(result->size() > 1 ? schemeVerdict(*result) : full.join(u'\n'));
    verdict_->setToolTip(full.join(u'\n'));
}

void BestRatesPanel::updateButton()
{
    checkButton_->setEnabled(allowed_ && request_ && !request_->parts.empty() && !checking());
    copies_->setEnabled(!checking());
    // Shown only while a check runs: the window keeps its height for the found list.
    progress_->setVisible(checking());
}

}  // namespace qeltaro::gui
