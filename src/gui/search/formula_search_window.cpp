#include "gui/search/formula_search_window.h"

#include "gui/common/chart_image.h"
#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "gui/common/window_host.h"
#include "gui/search/best_rates_panel.h"
#include "gui/search/search_checks_panel.h"
#include "gui/search/search_progress_chart.h"
#include "search/scheme_settings.h"
#include "search/search_category.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {
namespace {

constexpr int kSampleScrollMin = 20;
constexpr int kSampleScrollMax = 1000;
const QString kDefaultStopCount = QStringLiteral("50");

const char16_t* const kStars[5] = {u"一星", u"二星", u"三星", u"四星", u"五星"};

}  // namespace

FormulaSearchWindow::FormulaSearchWindow(WindowHost& main)
    : QDialog(main.hostWidget()), main_(main), settings_(std::make_unique<SchemeSettings>(main.session().settings()))
{
    setObjectName(QStringLiteral("frmGSGL"));
    setWindowTitle(QStringLiteral("公式搜索设置以及搜索结果"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    // Three columns low enough for a 1366x768 screen: the category and its thresholds; the
    // search with what it found, the checks against luck and the plot; the scheme and the
    // smart setting.
    auto* left = new QVBoxLayout;
    left->addWidget(buildCategoryPanel());
    left->addWidget(buildThresholdPanel());
    left->addWidget(makeButton("Command8", QStringLiteral("保存当前种类参数设置"), [this] { saveCategorySettings(); }));
    left->addStretch();

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildSearchPanel(), 1);
    // The checks against luck beside the plot, so the found list keeps its height.
    auto* bottom = new QHBoxLayout;
    checks_ = new SearchChecksPanel;
    checks_->setFixedWidth(270);
    bestRates_ = new BestRatesPanel;
    bestRates_->setFixedWidth(270);
    connect(bestRates_, &BestRatesPanel::checkingChanged, this, &FormulaSearchWindow::updateButtons);
    auto* luck = new QVBoxLayout;
    luck->addWidget(checks_);
    luck->addWidget(bestRates_);
    bottom->addLayout(luck);
    chart_ = new SearchProgressChart;
    chart_->setMinimumHeight(200);
    addSaveImageAction(chart_, QStringLiteral("公式搜索进度"));
    // The space beside the checks, never enlarging the window: a plot's own wish is screen-sized.
    chart_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    bottom->addWidget(chart_, 1);
    middle->addLayout(bottom, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildSchemePanel());
    right->addWidget(buildSmartPanel());
    right->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle, 1);
    layout->addLayout(right);

    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName(QStringLiteral("pollTimer"));
    pollTimer_->setInterval(100);
    connect(pollTimer_, &QTimer::timeout, this, &FormulaSearchWindow::poll);

    // The state every opening starts from; nothing of it is stored.
    positionOptions_[1]->setChecked(true);
    playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(false);
    killOptions_[0]->setChecked(true);
    formOptions_[0]->setChecked(true);
    constantOptions_[0]->setChecked(true);
    constantBox_->setText(QStringLiteral("0"));
    countModeOptions_[1]->setChecked(true);
    endSaveChecks_[1]->setChecked(true);
    thresholdBoxes_[15]->setText(kDefaultStopCount);
    sampleScroll_->setValue(kDefaultSampleCount);
    sampleBox_->setText(QString::number(kDefaultSampleCount));
    loadCategory();
    showHeldCounts();
    // On opening the total shows what the tables hold; every later change recomputes it.
    long long total = 0;
    for (long long count : held_)
        total += count;
    expectedTotal_->setText(QString::number(total));
    updateButtons();
    resize(1340, 690);
}

FormulaSearchWindow::~FormulaSearchWindow()
{
    stopAllRuns();
}

QPushButton* FormulaSearchWindow::makeButton(const char* name, const QString& caption,
                                             const std::function<void()>& onClick)
{
    QPushButton* button = namedButton(QLatin1String(name), caption);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, onClick);
    return button;
}

// --- building ---

QWidget* FormulaSearchWindow::buildCategoryPanel()
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    categoryFrames_ = new QWidget;
    auto* categoryLayout = new QVBoxLayout(categoryFrames_);
    categoryLayout->setContentsMargins(0, 0, 0, 0);
    const CategoryFrames category = categoryFrames(positionOptions_, playOptions_, killOptions_);
    for (int i = 1; i <= 5; ++i)
        connect(positionOptions_[size_t(i)], &QRadioButton::clicked, this, [this, i] { selectPositions(i); });
    for (QRadioButton* option : {playOptions_[0], playOptions_[1], killOptions_[0], killOptions_[1]})
        connect(option, &QRadioButton::clicked, this, &FormulaSearchWindow::loadCategory);
    categoryLayout->addWidget(category.positions);
    auto* playAndSense = new QHBoxLayout;
    playAndSense->addWidget(category.play);
    playAndSense->addWidget(category.kind);
    categoryLayout->addLayout(playAndSense);
    layout->addWidget(categoryFrames_);

    auto* form = new QHBoxLayout;
    formOptions_[0] = addOption(form, QStringLiteral("Option6_0"), QStringLiteral("[Xxx类]A+B"));
    formOptions_[1] = addOption(form, QStringLiteral("Option6_1"), QStringLiteral("A+B=下期杀xx"));
    layout->addWidget(titledFrame(QStringLiteral("公式形式"), form));

    auto* constant = new QHBoxLayout;
    constantOptions_[0] = addOption(constant, QStringLiteral("Option5_0"), QStringLiteral("指定"));
    constantBox_ = namedBox(QStringLiteral("Text6"), 64);
    constant->addWidget(constantBox_);
    constant->addSpacing(12);
    constantOptions_[1] = addOption(constant, QStringLiteral("Option5_1"), QStringLiteral("随机"));
    constant->addStretch();
    layout->addWidget(titledFrame(QStringLiteral("公式末尾偏移常数"), constant));

    auto* operands = new QHBoxLayout;
    operands->addWidget(new QLabel(QStringLiteral("公式运算元数")));
    operandScroll_ = new QScrollBar(Qt::Horizontal);
    operandScroll_->setObjectName(QStringLiteral("HScroll1"));
    operandScroll_->setRange(kMinOperandCount, kMaxOperandCount);
    operandScroll_->setSingleStep(1);
    operandScroll_->setPageStep(4);
    operandScroll_->setValue(kDefaultOperandCount);
    operands->addWidget(operandScroll_, 1);
    operandBox_ = namedBox(QStringLiteral("Text2"), 40, true);
    operandBox_->setText(QString::number(kDefaultOperandCount));
    operands->addWidget(operandBox_);
    connect(operandScroll_, &QScrollBar::valueChanged, this, &FormulaSearchWindow::operandCountChanged);
    layout->addWidget(titledFrame(QStringLiteral("公式元数"), operands));
    return panel;
}

QWidget* FormulaSearchWindow::buildThresholdPanel()
{
    auto* panel = new QWidget;
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    QGridLayout* limits = statisticBoundsGrid(std::span<QLineEdit*, 10>(thresholdBoxes_.data(), 10), 72);
    auto* current = new QGridLayout;
    current->addWidget(new QLabel(QStringLiteral("数值")), 0, 0, Qt::AlignCenter);
    for (int s = 0; s < 5; ++s) {
        thresholdBoxes_[size_t(10 + s)] = namedBox(QStringLiteral("Text1_%1").arg(10 + s), 72, true);
        current->addWidget(thresholdBoxes_[size_t(10 + s)], s + 1, 0);
    }
    layout->addWidget(titledFrame(QStringLiteral("公式参数设置"), limits));
    layout->addWidget(titledFrame(QStringLiteral("当前公式参数值"), current));
    return panel;
}

QWidget* FormulaSearchWindow::buildSmartPanel()
{
    auto* content = new QVBoxLayout;
    auto* samples = new QHBoxLayout;
    samples->addWidget(new QLabel(QStringLiteral("检索公式数")));
    sampleScroll_ = new QScrollBar(Qt::Horizontal);
    sampleScroll_->setObjectName(QStringLiteral("HScroll2"));
    sampleScroll_->setRange(kSampleScrollMin, kSampleScrollMax);
    sampleScroll_->setSingleStep(20);
    sampleScroll_->setPageStep(100);
    samples->addWidget(sampleScroll_, 1);
    sampleBox_ = namedBox(QStringLiteral("Text7"), 56);
    samples->addWidget(sampleBox_);
    connect(sampleScroll_, &QScrollBar::valueChanged, this,
            [this](int value) { sampleBox_->setText(QString::number(value)); });
    content->addLayout(samples);
    content->addWidget(makeButton("Command11", QStringLiteral("当前公式类在指定范围内检索最优参数设置"),
                                  [this] { startSmartSetting(false); }));
    content->addWidget(makeButton("Command12", QStringLiteral("所有公式类在指定范围内检索最优参数设置并保存"),
                                  [this] { startSmartSetting(true); }));
    return titledFrame(QStringLiteral("公式参数智能设置"), content);
}

QWidget* FormulaSearchWindow::buildSearchPanel()
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* controls = new QGridLayout;
    auto* start = makeButton("Command1", QStringLiteral("开始搜索(&F)"), [this] { startManual(); });
    auto* stop = makeButton("Command2", QStringLiteral("暂停搜索(&E)"), [this] { stopManual(); });
    autoStop_ = new QCheckBox(QStringLiteral("自动中止"));
    autoStop_->setObjectName(QStringLiteral("Check1"));
    autoStop_->setToolTip(QStringLiteral("勾选后，搜到的公式（含以前各次未保存的）达到右边的数量时自动停止搜索"));
    thresholdBoxes_[15] = namedBox(QStringLiteral("Text1_15"), 56);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start);
    buttons->addWidget(stop);
    buttons->addSpacing(16);
    buttons->addWidget(autoStop_);
    buttons->addWidget(thresholdBoxes_[15]);
    buttons->addWidget(new QLabel(QStringLiteral("条")));
    buttons->addStretch();
    controls->addLayout(buttons, 0, 0, 1, 4);
    verifiedBox_ = namedBox(QStringLiteral("Text3"), 110, true);
    foundBox_ = namedBox(QStringLiteral("Text4"), 80, true);
    controls->addWidget(new QLabel(QStringLiteral("当前验证公式数")), 1, 0);
    controls->addWidget(verifiedBox_, 1, 1);
    controls->addWidget(new QLabel(QStringLiteral("搜索到公式数")), 1, 2, Qt::AlignRight);
    controls->addWidget(foundBox_, 1, 3, Qt::AlignLeft);
    candidateBox_ = new QLineEdit;
    candidateBox_->setObjectName(QStringLiteral("Text11"));
    candidateBox_->setReadOnly(true);
    controls->addWidget(new QLabel(QStringLiteral("当前公式")), 2, 0);
    controls->addWidget(candidateBox_, 2, 1, 1, 3);
    controls->setColumnStretch(3, 1);
    layout->addWidget(titledFrame(QStringLiteral("公式搜索"), controls));

    layout->addWidget(new QLabel(QStringLiteral("搜索到的合格公式：")));
    foundList_ = new QListWidget;
    foundList_->setObjectName(QStringLiteral("List1"));
    foundList_->setUniformItemSizes(true);
    layout->addWidget(foundList_, 1);

    auto* saving = new QHBoxLayout;
    auto* append = makeButton("Command3", QStringLiteral("公式追加到数据库(&A)"), [this] { save(SaveMode::Append); });
    append->setToolTip(QStringLiteral("保留软件现有公式然后将所有合格公式追加到软件数据库。"));
    auto* replace = makeButton("Command4", QStringLiteral("公式更新到数据库(&N)"), [this] { save(SaveMode::Replace); });
    replace->setToolTip(QStringLiteral("删除软件现有公式然后将所有合格公式添加到软件数据库。"));
    saving->addWidget(append);
    saving->addWidget(replace);
    saving->addWidget(makeButton("Command20", QStringLiteral("公式中文导出"), [this] { exportFound(); }));
    layout->addLayout(saving);
    return panel;
}

QGroupBox* FormulaSearchWindow::buildWantedFrame(const QString& title, int firstNumber)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(new QLabel(QStringLiteral("数量")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("现有")), 0, 2, Qt::AlignCenter);
    for (int row = 0; row < 5; ++row) {
        const int number = firstNumber + row;
        auto* label = new QLabel(QString::fromUtf16(kStars[row]));
        label->setObjectName(QStringLiteral("Label4_%1").arg(number));
        auto* wanted = namedBox(QStringLiteral("Text5_%1").arg(number), 52);
        auto* held = new QLabel(QStringLiteral("0"));
        held->setObjectName(QStringLiteral("Label5_%1").arg(number));
        held->setMinimumWidth(40);
        held->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        categoryLabels_[size_t(number)] = label;
        wantedBoxes_[size_t(number)] = wanted;
        heldLabels_[size_t(number)] = held;
        if (!categoryOfSearchNumber(number)) {
            // 组选一星 has no table: shown for the layout, never searched.
            label->setEnabled(false);
            wanted->setEnabled(false);
            held->setEnabled(false);
        }
        connect(wanted, &QLineEdit::textChanged, this, &FormulaSearchWindow::recomputeExpectedTotal);
        grid->addWidget(label, row + 1, 0);
        grid->addWidget(wanted, row + 1, 1);
        grid->addWidget(held, row + 1, 2);
    }
    return titledFrame(title, grid);
}

QWidget* FormulaSearchWindow::buildSchemePanel()
{
    auto* content = new QVBoxLayout;
    auto* frames = new QHBoxLayout;
    frames->addWidget(buildWantedFrame(QStringLiteral("直选"), 1));
    frames->addWidget(buildWantedFrame(QStringLiteral("组选"), 6));
    content->addLayout(frames);

    auto* modes = new QHBoxLayout;
    countModeOptions_[0] = addOption(modes, QStringLiteral("Option4_0"), QStringLiteral("公式保有数量"));
    countModeOptions_[1] = addOption(modes, QStringLiteral("Option4_1"), QStringLiteral("公式新增数量"));
    connect(countModeOptions_[0], &QRadioButton::clicked, this, [this] { chooseCountMode(CountMode::Hold); });
    connect(countModeOptions_[1], &QRadioButton::clicked, this, [this] { chooseCountMode(CountMode::Add); });
    content->addLayout(modes);
    const QString checks[2] = {QStringLiteral("搜索完毕公式自动追加到数据库"), QStringLiteral("搜索完毕公式自动更新到数据库")};
    for (int i = 0; i < 2; ++i) {
        auto* check = new QCheckBox(checks[i]);
        check->setObjectName(QStringLiteral("chkAutApd_%1").arg(i));
        endSaveChecks_[size_t(i)] = check;
        content->addWidget(check);
        // At most one: checking one clears the other.
        connect(check, &QCheckBox::clicked, this, [this, i](bool checked) {
            if (checked)
                endSaveChecks_[size_t(1 - i)]->setChecked(false);
            recomputeExpectedTotal();
        });
    }
    auto* total = new QHBoxLayout;
    total->addWidget(new QLabel(QStringLiteral("公式总保有量")));
    expectedTotal_ = new QLabel(QStringLiteral("0"));
    expectedTotal_->setObjectName(QStringLiteral("Label6"));
    expectedTotal_->setFrameShape(QFrame::StyledPanel);
    expectedTotal_->setMinimumWidth(70);
    expectedTotal_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    total->addWidget(expectedTotal_);
    total->addStretch();
    content->addLayout(total);

    auto* stored = new QHBoxLayout;
    stored->addWidget(makeButton("Command9", QStringLiteral("保存设置"), [this] { saveWantedCounts(); }));
    stored->addWidget(makeButton("Command10", QStringLiteral("调用设置"), [this] { loadWantedCounts(); }));
    content->addLayout(stored);

    content->addWidget(makeButton("Command5", QStringLiteral("确定搜索方案开始搜索"), [this] { startScheme(); }));
    auto* pauseResume = new QHBoxLayout;
    pauseResume->addWidget(makeButton("Command7", QStringLiteral("暂停"), [this] { pauseScheme(); }));
    pauseResume->addWidget(makeButton("Command6", QStringLiteral("继续"), [this] { continueScheme(); }));
    content->addLayout(pauseResume);
    return titledFrame(QStringLiteral("公式搜索方案"), content);
}

// --- the category and its settings ---

int FormulaSearchWindow::searchNumber() const
{
    return searchNumberOf(category());
}

Category FormulaSearchWindow::category() const
{
    int positions = 1;
    for (int i = 1; i <= 5; ++i) {
        if (positionOptions_[size_t(i)]->isChecked())
            positions = i;
    }
    return Category{positions, positions != 1 && playOptions_[1]->isChecked()};
}

Kind FormulaSearchWindow::selectedKind() const
{
    return killOptions_[0]->isChecked() ? Kind::Kill : Kind::Keep;
}

void FormulaSearchWindow::selectPositions(int positions)
{
    // 一星 has only the direct play; the others keep the play chosen.
    if (positions == 1)
        playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(positions != 1);
    loadCategory();
}

void FormulaSearchWindow::selectCategory(int number)
{
    const auto chosen = categoryOfSearchNumber(number);
    if (!chosen)
        return;
    positionOptions_[size_t(chosen->positions)]->setChecked(true);
    playOptions_[1]->setEnabled(chosen->positions != 1);
    playOptions_[chosen->group ? 1 : 0]->setChecked(true);
    loadCategory();
}

void FormulaSearchWindow::loadCategory()
{
    const int number = searchNumber();
    const SearchThresholds thresholds = settings_->thresholds(selectedKind(), number);
    for (int i = 0; i < kThresholdCount; ++i)
        thresholdBoxes_[size_t(i)]->setText(thresholdText(thresholds[size_t(i)]));
    const int count = settings_->operandCount(number);
    {
        // Loading shows the stored count; it is not a change to store again.
        const QSignalBlocker blocker(operandScroll_);
        operandScroll_->setValue(count);
    }
    operandBox_->setText(QString::number(operandScroll_->value()));
}

void FormulaSearchWindow::operandCountChanged(int count)
{
    operandBox_->setText(QString::number(count));
    if (Status stored = settings_->setOperandCount(searchNumber(), count); !stored)
        Dialogs::warn(this, QStringLiteral("公式运算元数"), stored.error().message);
}

void FormulaSearchWindow::saveCategorySettings()
{
    const QString title = QStringLiteral("保存当前种类参数设置");
    QStringList texts;
    for (int i = 0; i < kThresholdCount; ++i)
        texts << thresholdBoxes_[size_t(i)]->text();
    auto thresholds = parseThresholdTexts(texts);
    if (!thresholds) {
        Dialogs::warn(this, title, thresholds.error().message + QStringLiteral("，未保存。"));
        return;
    }
    const int number = searchNumber();
    if (Status s = settings_->setThresholds(selectedKind(), number, *thresholds); !s) {
        Dialogs::warn(this, title, s.error().message);
        return;
    }
    if (Status s = settings_->setOperandCount(number, operandScroll_->value()); !s)
        Dialogs::warn(this, title, s.error().message);
}

// --- the scheme's counts ---

WantedCounts FormulaSearchWindow::wantedCounts() const
{
    WantedCounts counts;
    for (int number = 1; number <= kSearchCategoryCount; ++number) {
        if (categoryOfSearchNumber(number))
            counts[size_t(number - 1)] = wantedCountFromText(wantedBoxes_[size_t(number)]->text());
    }
    return counts;
}

void FormulaSearchWindow::showHeldCounts()
{
    auto counts = heldFormulaCounts(main_.session().store());
    if (!counts) {
        Dialogs::warn(this, QStringLiteral("公式数量"), counts.error().message);
        held_ = {};
    } else {
        held_ = *counts;
    }
    for (int number = 1; number <= kSearchCategoryCount; ++number)
        heldLabels_[size_t(number)]->setText(QString::number(held_[size_t(number - 1)]));
}

void FormulaSearchWindow::recomputeExpectedTotal()
{
    const CountMode mode = countModeOptions_[0]->isChecked() ? CountMode::Hold : CountMode::Add;
    expectedTotal_->setText(QString::number(expectedTotal(wantedCounts(), held_, mode, endSaveChecks_[0]->isChecked())));
}

void FormulaSearchWindow::chooseCountMode(CountMode mode)
{
    // Holding a number means adding to the tables at the end; adding new ones means replacing.
    endSaveChecks_[0]->setChecked(mode == CountMode::Hold);
    endSaveChecks_[1]->setChecked(mode == CountMode::Add);
    recomputeExpectedTotal();
}

void FormulaSearchWindow::saveWantedCounts()
{
    settings_->setWantedCounts(selectedKind(), wantedCounts());
}

void FormulaSearchWindow::loadWantedCounts()
{
    const WantedCounts counts = settings_->wantedCounts(selectedKind());
    for (int number = 1; number <= kSearchCategoryCount; ++number) {
        if (!categoryOfSearchNumber(number))
            continue;
        const auto& count = counts[size_t(number - 1)];
        wantedBoxes_[size_t(number)]->setText(count ? QString::number(*count) : QString());
    }
    recomputeExpectedTotal();
}

void FormulaSearchWindow::markSchemeLabels(int current, bool finished)
{
    // Red for the category under way, blue for those done, the others as they were at first.
    const auto& order = schemeOrder();
    const auto at = std::find(order.begin(), order.end(), current);
    const std::ptrdiff_t currentIndex = at == order.end() ? -1 : at - order.begin();
    for (std::ptrdiff_t k = 0; k < std::ptrdiff_t(order.size()); ++k) {
        QLabel* label = categoryLabels_[size_t(order[size_t(k)])];
        QPalette palette = QPalette();
        if (finished || k < currentIndex)
            palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        else if (k == currentIndex)
            palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        label->setPalette(palette);
    }
}

}  // namespace qeltaro::gui
