#include "gui/app/formula_panel.h"

#include "gui/app/command_buttons.h"
#include "gui/app/formula_list_view.h"
#include "gui/common/widgets.h"
#include "language/formula_line.h"
#include "session/analysis_session.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace qeltaro::gui {

FormulaPanel::FormulaPanel(AnalysisSession& session, QWidget* parent) : QWidget(parent), session_(session)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buildFrames());

    auto* textTabs = new QTabBar;
    textTabs->setObjectName(QStringLiteral("TabStrip1"));
    textTabs->addTab(QStringLiteral("公式中文显示"));
    textTabs->addTab(QStringLiteral("公式英文显示"));
    layout->addWidget(textTabs);
    layout->addWidget(buildList(), 1);
    // Each click flips the text shown, whichever tab is clicked.
    connect(textTabs, &QTabBar::tabBarClicked, this,
            [this](int) { list_->model().setShowChinese(!list_->model().showChinese()); });

    auto* typed = new QHBoxLayout;
    formulaBox_ = new QLineEdit;
    formulaBox_->setObjectName(QStringLiteral("Text2"));
    formulaBox_->setPlaceholderText(QStringLiteral("例如：万位码+千位码=下期杀一星直选"));
    typed->addWidget(formulaBox_, 1);
    addFormula_ = namedButton(QStringLiteral("Command1"), QStringLiteral("添加所输公式(&A)"));
    typed->addWidget(addFormula_);
    layout->addLayout(typed);
    // Enter in the formula box adds the formula, as 添加所输公式 does.
    connect(formulaBox_, &QLineEdit::returnPressed, this, &FormulaPanel::addTypedFormula);
    connect(addFormula_, &QPushButton::clicked, this, &FormulaPanel::addTypedFormula);

    commands_ = new CommandButtons(this);
    layout->addWidget(commands_);
}

QLayout* FormulaPanel::buildFrames()
{
    // Two rows of frames, so the panel fits beside the history at 1366 pixels.
    auto* frames = new QHBoxLayout;
    const CategoryFrames category = categoryFrames(positionOptions_, playOptions_, kindOptions_);
    for (int i = 1; i <= 5; ++i) {
        connect(positionOptions_[size_t(i)], &QRadioButton::clicked, this, [this, i] {
            if (i == 1)
                playOptions_[0]->setChecked(true);
            playOptions_[1]->setEnabled(i != 1);
            emit categoryChosen(i, playOptions_[1]->isChecked());
        });
    }
    for (int group = 0; group < 2; ++group) {
        connect(playOptions_[size_t(group)], &QRadioButton::clicked, this,
                [this, group] { emit categoryChosen(session_.category().positions, group == 1); });
    }
    connect(kindOptions_[0], &QRadioButton::clicked, this, [this] { emit kindChosen(Kind::Kill); });
    connect(kindOptions_[1], &QRadioButton::clicked, this, [this] { emit kindChosen(Kind::Keep); });
    frames->addWidget(category.positions);
    frames->addWidget(category.play);
    frames->addWidget(category.kind);
    frames->addStretch();

    auto* secondFrames = new QHBoxLayout;
    auto* mode = new QGroupBox(QStringLiteral("计算/验算选择"));
    auto* modeLayout = new QHBoxLayout(mode);
    periodModeOptions_[0] = addOption(modeLayout, QStringLiteral("Option5_0"), QStringLiteral("计算下期结果"));
    periodModeOptions_[1] = addOption(modeLayout, QStringLiteral("Option5_1"), QStringLiteral("验证历史结果"));
    periodModeOptions_[0]->setToolTip(QStringLiteral("现存历史号码的下一期"));
    periodModeOptions_[1]->setToolTip(QStringLiteral("验算指定期下期结果"));
    latestPeriodBox_ = namedBox(QStringLiteral("Text3"), 96);
    latestPeriodBox_->installEventFilter(this);
    modeLayout->addWidget(latestPeriodBox_);
    secondFrames->addWidget(mode);

    auto* method = new QGroupBox(QStringLiteral("计算方法"));
    auto* methodLayout = new QHBoxLayout(method);
    methodOptions_[0] = addOption(methodLayout, QStringLiteral("Option6_0"), QStringLiteral("最优公式法"));
    methodOptions_[1] = addOption(methodLayout, QStringLiteral("Option6_1"), QStringLiteral("计算选中公式"));
    connect(methodOptions_[0], &QRadioButton::clicked, this, [this] { emit methodChosen(CalculationMethod::Best); });
    connect(methodOptions_[1], &QRadioButton::clicked, this, [this] { emit methodChosen(CalculationMethod::Selected); });
    secondFrames->addWidget(method);
    secondFrames->addStretch();

    auto* rows = new QVBoxLayout;
    rows->addLayout(frames);
    rows->addLayout(secondFrames);
    return rows;
}

QWidget* FormulaPanel::buildList()
{
    list_ = new FormulaListView(this);
    connect(list_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { emit formulaReleased(index.row(), index.column(), Qt::LeftButton); });
    connect(list_, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = list_->indexAt(at);
        emit formulaReleased(index.row(), index.column(), Qt::RightButton);
    });
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.column() > FormulaListModel::Next)
            list_->sortBy(index.column(), Qt::AscendingOrder, session_.statistics());
    });
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { list_->sortBy(column, list_->nextOrderFor(column), session_.statistics()); });
    return list_;
}

bool FormulaPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Entering the period box of the calculation frame means checking a past period.
    if (watched == latestPeriodBox_ && event->type() == QEvent::FocusIn)
        periodModeOptions_[1]->setChecked(true);
    return QWidget::eventFilter(watched, event);
}

CalculationChoice FormulaPanel::calculationChoice() const
{
    CalculationChoice choice;
    choice.method = methodOptions_[1]->isChecked() ? CalculationMethod::Selected : CalculationMethod::Best;
    if (periodModeOptions_[1]->isChecked())
        choice.pastPeriod = latestPeriodBox_->text();
    return choice;
}

QString FormulaPanel::typedFormula() const { return formulaBox_->text(); }

void FormulaPanel::clearTypedFormula() { formulaBox_->clear(); }

void FormulaPanel::focusTypedFormula() { formulaBox_->setFocus(); }

void FormulaPanel::showListOptions(const FormulaListKey& key)
{
    positionOptions_[size_t(key.category.positions)]->setChecked(true);
    playOptions_[1]->setEnabled(key.category.positions != 1);
    playOptions_[key.category.group ? 1 : 0]->setChecked(true);
    kindOptions_[isKill(key.kind) ? 0 : 1]->setChecked(true);
}

void FormulaPanel::chooseStartOptions(bool calculateSelected)
{
    positionOptions_[1]->setChecked(true);
    playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(false);
    kindOptions_[0]->setChecked(true);
    periodModeOptions_[0]->setChecked(true);
    methodOptions_[calculateSelected ? 1 : 0]->setChecked(true);
}

void FormulaPanel::setLatestPeriod(const QString& period) { latestPeriodBox_->setText(period); }

}  // namespace qeltaro::gui
