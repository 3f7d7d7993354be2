#include "gui/common/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QRadioButton>

namespace qeltaro::gui {
namespace {

class EscapeCloses : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            window->close();
            return true;
        }
        return false;
    }
};

}  // namespace

QPushButton* namedButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

QLineEdit* namedBox(const QString& name, int width, bool readOnly)
{
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setFixedWidth(width);
    box->setReadOnly(readOnly);
    return box;
}

QPushButton* closeWindowButton(QWidget* window)
{
    QPushButton* button = namedButton(QStringLiteral("cmdClose"), QStringLiteral("关闭(&C)"));
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
    // Esc closes a tool window as it closes a dialog: a key no child takes reaches the window.
    // close() still lets the window ask first.
    window->installEventFilter(new EscapeCloses(window));
    return button;
}

QRadioButton* addOption(QLayout* layout, const QString& name, const QString& caption)
{
    auto* option = new QRadioButton(caption);
    option->setObjectName(name);
    layout->addWidget(option);
    return option;
}

QLabel* textLabel(const QString& name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QGridLayout* statisticBoundsGrid(std::span<QLineEdit*, 10> boxes, int width)
{
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("下限")), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("上限")), 0, 2, Qt::AlignCenter);
    const char16_t* const captions[5] = {u"正确率", u"最大连错", u"最大连对", u"最后连错", u"最后连对"};
    for (int s = 0; s < 5; ++s) {
        grid->addWidget(new QLabel(QString::fromUtf16(captions[s])), s + 1, 0);
        for (int bound = 0; bound < 2; ++bound) {
            const int item = 2 * s + bound;
            boxes[size_t(item)] = namedBox(QStringLiteral("Text1_%1").arg(item), width);
            grid->addWidget(boxes[size_t(item)], s + 1, bound + 1);
        }
    }
    return grid;
}

void showInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

QGroupBox* titledFrame(const QString& title, QLayout* content)
{
    auto* frame = new QGroupBox(title);
    frame->setLayout(content);
    return frame;
}

CategoryFrames categoryFrames(std::array<QRadioButton*, 6>& positions, std::array<QRadioButton*, 2>& play,
                              std::array<QRadioButton*, 2>& kind)
{
    auto* positionRow = new QHBoxLayout;
    const char16_t* const stars[5] = {u"一星", u"二星", u"三星", u"四星", u"五星"};
    for (int i = 1; i <= 5; ++i)
        positions[size_t(i)] = addOption(positionRow, QStringLiteral("optXing_%1").arg(i), QString::fromUtf16(stars[i - 1]));
    auto* playRow = new QHBoxLayout;
    play[0] = addOption(playRow, QStringLiteral("opTDG_0"), QStringLiteral("直选"));
    play[1] = addOption(playRow, QStringLiteral("opTDG_1"), QStringLiteral("组选"));
    auto* kindRow = new QHBoxLayout;
    kind[0] = addOption(kindRow, QStringLiteral("Option2_0"), QStringLiteral("杀"));
    kind[1] = addOption(kindRow, QStringLiteral("Option2_1"), QStringLiteral("生"));
    return {titledFrame(QStringLiteral("位数选择"), positionRow), titledFrame(QStringLiteral("玩法选择"), playRow),
            titledFrame(QStringLiteral("生杀"), kindRow)};
}

QBoxLayout* rightButtons(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

}  // namespace qeltaro::gui
