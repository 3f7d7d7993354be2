#include "gui/backtest/formula_filter_dialog.h"

#include "gui/common/dialogs.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("下限")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("上限")), 0, 2, Qt::AlignCenter);
    const char16_t* const labels[5] = {u"正确率", u"最大连错", u"最大连对", u"最后连错", u"最后连对"};
    for (int s = 0; s < 5; ++s) {
        grid->addWidget(new QLabel(QString::fromUtf16(labels[s])), s + 1, 0);
        for (int bound = 0; bound < 2; ++bound) {
            const int item = 2 * s + bound;
            auto* box = new QLineEdit;
            box->setObjectName(QStringLiteral("Text1_%1").arg(item));
            box->setFixedWidth(110);
            box->installEventFilter(this);
            grid->addWidget(box, s + 1, bound + 1);
            boxes_[size_t(item)] = box;
        }
    }

    auto* ok = new QPushButton(QStringLiteral("确定(&K)"));
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FormulaFilterDialog::confirm);

    auto* hint = new QLabel(QStringLiteral("只在已选中（序号为蓝色）的公式中过滤，各项统计须落在上下限之间。"));
    hint->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    setFixedWidth(sizeHint().width());
}

void FormulaFilterDialog::showWithBounds(const FilterBounds& prefill)
{
    for (int item = 0; item < kFilterBoundCount; ++item)
        boxes_[size_t(item)]->setText(boundText(item, prefill[size_t(item)]));
    boxes_[0]->setFocus();
    show();
    raise();
    activateWindow();
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
