#include "gui/backtest/sort_settings_dialog.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qeltaro::gui {
namespace {

const char* const kTagProperty = "Tag";

}  // namespace

SortSettingsDialog::SortSettingsDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGsCsArr"));
    setWindowTitle(QStringLiteral("公式排序设置"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* frames = new QHBoxLayout;
    const char16_t* const frameCaptions[3] = {u"第一排序", u"第二排序", u"第三排序"};
    for (int k = 0; k < 3; ++k) {
        auto* frame = new QGroupBox(QString::fromUtf16(frameCaptions[k]));
        auto* column = new QVBoxLayout(frame);
        for (size_t item = 0; item < kSortKeys.size(); ++item) {
            const SortKey key = kSortKeys[item];
            QRadioButton* option = addOption(column, QStringLiteral("Option%1_%2").arg(k + 1).arg(item), sortKeyCaption(key));
            option->setProperty(kTagProperty, sortKeyColumn(key));
            keyOptions_[size_t(k)][item] = option;
        }
        auto* direction = new QComboBox;
        direction->setObjectName(QStringLiteral("cboDirection_%1").arg(k + 1));
        direction->addItem(QStringLiteral("从大到小"));
        direction->addItem(QStringLiteral("从小到大"));
        direction->setToolTip(QStringLiteral("选择排序键时自动设为较好的公式在前：正确率、连对从大到小，连错从小到大"));
        column->addWidget(direction);
        directions_[size_t(k)] = direction;
        // A newly chosen key sorts the better formulas first.
        for (size_t item = 0; item < kSortKeys.size(); ++item) {
            connect(keyOptions_[size_t(k)][item], &QRadioButton::clicked, this, [direction, item] {
                direction->setCurrentIndex(bestFirstDescending(kSortKeys[item]) ? 0 : 1);
            });
        }
        frames->addWidget(frame);
    }
    layout->addLayout(frames);

    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(new QLabel(QStringLiteral("设置需要保留的项目个数限额(少于或等于)")));
    limitBox_ = namedBox(QStringLiteral("Text1"), 60);
    limitRow->addWidget(limitBox_);
    limitRow->addStretch();
    auto* ok = namedButton(QStringLiteral("Command1"), QStringLiteral("确定(&O)"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SortSettingsDialog::confirm);
    limitRow->addWidget(ok);
    layout->addLayout(limitRow);

    showWithSettings(SortSettings());
    hide();
}

void SortSettingsDialog::showWithSettings(const SortSettings& current)
{
    for (size_t k = 0; k < 3; ++k) {
        for (size_t item = 0; item < kSortKeys.size(); ++item)
            keyOptions_[k][item]->setChecked(kSortKeys[item] == current.sortKeys[k]);
        directions_[k]->setCurrentIndex(current.sortDescending[k] ? 0 : 1);
    }
    limitBox_->setText(QString::number(kDefaultKeepLimit));
    limitBox_->setFocus();
    limitBox_->selectAll();
    showInFront(this);
}

Result<SortSettings> SortSettingsDialog::settings() const
{
    auto limit = parseKeepLimit(limitBox_->text());
    if (!limit)
        return limit.error();
    SortSettings chosen;
    chosen.keepLimit = *limit;
    for (size_t k = 0; k < 3; ++k) {
        for (size_t item = 0; item < kSortKeys.size(); ++item) {
            if (keyOptions_[k][item]->isChecked()) {
                // The tag names the column the option stands for.
                if (const auto key = sortKeyOfColumn(keyOptions_[k][item]->property(kTagProperty).toString()))
                    chosen.sortKeys[k] = *key;
            }
        }
        chosen.sortDescending[k] = directions_[k]->currentIndex() == 0;
    }
    return chosen;
}

void SortSettingsDialog::confirm()
{
    auto chosen = settings();
    if (!chosen) {
        Dialogs::warn(this, QStringLiteral("保留个数限额有误"), chosen.error().message);
        return;
    }
    accept();
    emit settingsConfirmed(*chosen);
}

}  // namespace qeltaro::gui
