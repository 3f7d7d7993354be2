#pragma once
// The top left of the search window: the category searched and its kind (位数选择, 玩法选择,
// 生杀), the form of the formulas (公式形式), the constant at their end (公式末尾偏移常数) and
// their operand count (公式元数), which is kept per category as it is moved.

#include "domain/category.h"
#include "domain/kind.h"
#include "search/candidate_generator.h"

#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace qeltaro {
class SchemeSettings;
}

namespace qeltaro::gui {

class SearchCategoryPanel : public QWidget {
    Q_OBJECT
public:
    SearchCategoryPanel(SchemeSettings& settings, QWidget* parent = nullptr);

    Category category() const;
    int searchNumber() const;
    Kind kind() const;
    FormulaForm form() const;
    int operandCount() const;
    // The constant chosen; nullopt after telling the user why the box is wrong.
    std::optional<TailConstant> readConstant(const QString& title);

    // Shows the category of a search number, as a scheme or a proposal moves on to it.
    void selectCategory(int number);
    // While a scheme or a proposal walks the categories, the user does not choose one.
    void setChoosingEnabled(bool enabled);

signals:
    // Another category or kind: its stored settings are shown.
    void chosen();

private:
    QWidget* buildCategoryFrames();
    QWidget* buildOperandFrame();
    void selectPositions(int positions);
    void loadCategory();
    void operandCountChanged(int count);

    SchemeSettings& settings_;
    std::array<QRadioButton*, 6> positionOptions_{};  // optXing(1..5)
    std::array<QRadioButton*, 2> playOptions_{};      // opTDG
    std::array<QRadioButton*, 2> killOptions_{};      // Option2: 杀 / 生
    std::array<QRadioButton*, 2> formOptions_{};      // Option6: prefix / suffix
    std::array<QRadioButton*, 2> constantOptions_{};  // Option5: 指定 / 随机
    QWidget* categoryFrames_ = nullptr;     // position, play and sense
    QLineEdit* constantBox_ = nullptr;      // Text6
    QScrollBar* operandScroll_ = nullptr;   // HScroll1
    QLineEdit* operandBox_ = nullptr;       // Text2
};

}  // namespace qeltaro::gui
