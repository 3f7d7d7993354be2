#include "watch/watch_event.h"

#include "aggregate/err_window_rows.h"
#include "predictions/kept_digits.h"

namespace qeltaro {

QString calculationDigitsText(const CategoryCalculation& calculation)
{
    QStringList parts;
    for (const SlotCalculation& slot : calculation.slotResults) {
        QStringList digits;
        for (int d : keptDigits(slot.counts, calculation.kind))
            digits << QString::number(d);
        const QString caption = slot.slot == 0 ? calculation.category.caption() : errWindowTabCaption(slot.slot);
        parts << QStringLiteral("%1 保留 %2").arg(caption, digits.isEmpty() ? QStringLiteral("无") : digits.join(u' '));
    }
    return QStringLiteral("第%1期 %2：%3").arg(calculation.period, kindWord(calculation.kind), parts.join(QStringLiteral("；")));
}

QString eventText(const WatchEvent& event)
{
    switch (event.kind) {
    case WatchEvent::Kind::Draws:
        return QStringLiteral("新开奖%1期：%2").arg(event.periods.size()).arg(event.periods.join(u' '));
    case WatchEvent::Kind::Calculation:
        return QStringLiteral("计算 %1").arg(calculationDigitsText(event.run->calculation));
    case WatchEvent::Kind::Conflict:
        return QStringLiteral("第%1期网页上的号码%2与已保存的%3不同，保留已保存的号码")
            .arg(event.period, event.page, event.stored);
    case WatchEvent::Kind::Error:
        return QStringLiteral("读取失败：%1").arg(event.message);
    case WatchEvent::Kind::Waiting:
        return QStringLiteral("等待第%1期，开奖时间 %2").arg(event.period, event.due.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }
    return {};
}

}  // namespace qeltaro
