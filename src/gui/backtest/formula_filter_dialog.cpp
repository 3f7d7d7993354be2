#include "gui/backtest/formula_filter_dialog.h"

#include "gui/common/dialogs.h"
#include "gui/common/widgets.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qeltaro::gui {

FormulaFilterDialog::FormulaFilterDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGSGuolv"));
    setWindowTitle(QStringLiteral("公式过滤设置窗口"));
    setModal(true);

    auto* frame = new QGroupBox(QStringLiteral("公式参数"));
    frame->setLayout(statisticBoundsGrid(boxes_, 110));
    for (QLineEdit* box : boxes_)
        box->installEventFilter(this);

    auto* ok = namedButton(QStringLiteral("Command1"), QStringLiteral("确定(&K)"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FormulaFilterDialog::confirm);

    auto* hint = new QLabel(QStringLiteral("只在已选中（序号为蓝色）的公式中过滤，各项统计须落在上下限之间。"));
    hint->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(hint);
    layout->addLayout(rightButtons({ok}));
    setFixedWidth(sizeHint().width());
}

void FormulaFilterDialog::showWithBounds(const FilterBounds& prefill)
{
    for (int item = 0; item < kFilterBoundCount; ++item)
        boxes_[size_t(item)]->setText(boundText(item, prefill[size_t(item)]));
    boxes_[0]->setFocus();
    showInFront(this);
}

bool FormulaFilterDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Entering a box selects its whole text, so typing replaces the bound. Deferred, because the
    // mouse press that gave the focus would otherwise place the cursor afterwards.
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void FormulaFilterDialog::confirm()
{
    QStringList texts;
    for (QLineEdit* box : boxes_)
        texts << box->text();
    auto bounds = parseBounds(texts);
    if (!bounds) {
        Dialogs::warn(this, QStringLiteral("过滤条件有误"), bounds.error().message);
        return;
    }
    accept();
    emit boundsConfirmed(*bounds);
}

}  // namespace qeltaro::gui
