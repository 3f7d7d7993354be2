#include "gui/history/draw_entry.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace qeltaro::gui {

DrawEntry::DrawEntry(std::array<QLineEdit*, 5> boxes, QLineEdit* periodBox, QObject* parent)
    : QObject(parent), boxes_(boxes), periodBox_(periodBox)
{
    for (QLineEdit* box : boxes_) {
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
    }
    periodBox_->installEventFilter(this);
}

void DrawEntry::clear()
{
    for (QLineEdit* box : boxes_)
        box->clear();
}

QString DrawEntry::digitsText() const
{
    QString text;
    for (QLineEdit* box : boxes_)
        text += box->text();
    return text;
}

QString DrawEntry::problem() const
{
    static const char16_t* const names[5] = {u"万位", u"千位", u"百位", u"十位", u"个位"};
    for (int i = 0; i < 5; ++i) {
        const QString text = boxes_[size_t(i)]->text();
        if (text.size() != 1 || text[0] < u'0' || text[0] > u'9')
            return QStringLiteral("%1的开奖号“%2”不是一个0-9的数字，请重新输入。").arg(QString::fromUtf16(names[i]), text);
    }
    return {};
}

bool DrawEntry::filled() const
{
    return std::all_of(boxes_.begin(), boxes_.end(), [](const QLineEdit* box) { return box->text().size() == 1; });
}

bool DrawEntry::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the period box or a digit box stores the draw once five digits are there: after a
    // refused period is corrected, nothing needs typing again.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool inEntry = watched == periodBox_ || std::find(boxes_.begin(), boxes_.end(), watched) != boxes_.end();
        if (inEntry && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            if (filled())
                emit drawComplete(periodBox_->text().trimmed(), digitsText());
            return true;
        }
    }
    const auto it = std::find(boxes_.begin(), boxes_.end(), watched);
    if (it == boxes_.end())
        return QObject::eventFilter(watched, event);
    const int box = int(it - boxes_.begin());
    if (event->type() == QEvent::FocusIn && box == 0) {
        clear();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    if (typed.size() != 1 || typed[0] < u'0' || typed[0] > u'9')
        return false;  // other keys edit the box as usual
    boxes_[size_t(box)]->setText(typed);
    if (box < 4) {
        boxes_[size_t(box + 1)]->setFocus();
        boxes_[size_t(box + 1)]->selectAll();
    } else {
        emit drawComplete(periodBox_->text().trimmed(), digitsText());
    }
    return true;
}

}  // namespace qeltaro::gui
