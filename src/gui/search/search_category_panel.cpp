#include "gui/search/search_category_panel.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"
#include "search/scheme_settings.h"
#include "search/search_category.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qeltaro::gui {

SearchCategoryPanel::SearchCategoryPanel(SchemeSettings& settings, QWidget* parent) : QWidget(parent), settings_(settings)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildCategoryFrames());

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
    layout->addWidget(buildOperandFrame());

    // The state every opening starts from; nothing of it is stored.
    positionOptions_[1]->setChecked(true);
    playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(false);
    killOptions_[0]->setChecked(true);
    formOptions_[0]->setChecked(true);
    constantOptions_[0]->setChecked(true);
    constantBox_->setText(QStringLiteral("0"));
    loadCategory();
}

QWidget* SearchCategoryPanel::buildCategoryFrames()
{
    categoryFrames_ = new QWidget;
    auto* layout = new QVBoxLayout(categoryFrames_);
    layout->setContentsMargins(0, 0, 0, 0);
    const CategoryFrames category = categoryFrames(positionOptions_, playOptions_, killOptions_);
    for (int i = 1; i <= 5; ++i)
        connect(positionOptions_[size_t(i)], &QRadioButton::clicked, this, [this, i] { selectPositions(i); });
    for (QRadioButton* option : {playOptions_[0], playOptions_[1], killOptions_[0], killOptions_[1]})
        connect(option, &QRadioButton::clicked, this, &SearchCategoryPanel::loadCategory);
    layout->addWidget(category.positions);
    auto* playAndSense = new QHBoxLayout;
    playAndSense->addWidget(category.play);
    playAndSense->addWidget(category.kind);
    layout->addLayout(playAndSense);
    return categoryFrames_;
}

QWidget* SearchCategoryPanel::buildOperandFrame()
{
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
    connect(operandScroll_, &QScrollBar::valueChanged, this, &SearchCategoryPanel::operandCountChanged);
    return titledFrame(QStringLiteral("公式元数"), operands);
}

Category SearchCategoryPanel::category() const
{
    int positions = 1;
    for (int i = 1; i <= 5; ++i) {
        if (positionOptions_[size_t(i)]->isChecked())
            positions = i;
    }
    return Category{positions, positions != 1 && playOptions_[1]->isChecked()};
}

int SearchCategoryPanel::searchNumber() const
{
    return searchNumberOf(category());
}

Kind SearchCategoryPanel::kind() const
{
    return killOptions_[0]->isChecked() ? Kind::Kill : Kind::Keep;
}

FormulaForm SearchCategoryPanel::form() const
{
    return formOptions_[1]->isChecked() ? FormulaForm::Suffix : FormulaForm::Prefix;
}

int SearchCategoryPanel::operandCount() const
{
    return operandScroll_->value();
}

std::optional<TailConstant> SearchCategoryPanel::readConstant(const QString& title)
{
    if (constantOptions_[1]->isChecked())
        return TailConstant::randomDigit();
    auto constant = TailConstant::fromText(constantBox_->text());
    if (!constant) {
        Dialogs::warn(window(), title, constant.error().message + QStringLiteral("。"));
        constantBox_->setFocus();
        return std::nullopt;
    }
    return *constant;
}

void SearchCategoryPanel::selectCategory(int number)
{
    const auto chosen = categoryOfSearchNumber(number);
    if (!chosen)
        return;
    positionOptions_[size_t(chosen->positions)]->setChecked(true);
    playOptions_[1]->setEnabled(chosen->positions != 1);
    playOptions_[chosen->group ? 1 : 0]->setChecked(true);
    loadCategory();
}

void SearchCategoryPanel::setChoosingEnabled(bool enabled)
{
    categoryFrames_->setEnabled(enabled);
}

void SearchCategoryPanel::selectPositions(int positions)
{
    // 一星 has only the direct play; the others keep the play chosen.
    if (positions == 1)
        playOptions_[0]->setChecked(true);
    playOptions_[1]->setEnabled(positions != 1);
    loadCategory();
}

void SearchCategoryPanel::loadCategory()
{
    emit chosen();
    {
        // Loading shows the stored count; it is not a change to store again.
        const QSignalBlocker blocker(operandScroll_);
        operandScroll_->setValue(settings_.operandCount(searchNumber()));
    }
    operandBox_->setText(QString::number(operandScroll_->value()));
}

void SearchCategoryPanel::operandCountChanged(int count)
{
    operandBox_->setText(QString::number(count));
    if (Status stored = settings_.setOperandCount(searchNumber(), count); !stored)
        Dialogs::warn(window(), QStringLiteral("公式运算元数"), stored.error().message);
}

}  // namespace qeltaro::gui
