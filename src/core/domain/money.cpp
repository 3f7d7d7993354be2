#include "domain/money.h"

#include <cstdlib>

namespace qeltaro {

QString yuanText(Mills amount)
{
    const Mills whole = amount / kMillsPerYuan;
    Mills fraction = std::llabs(amount % kMillsPerYuan);
    QString text = (amount < 0 && whole == 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
    if (fraction == 0)
        return text;
    QString decimals = QStringLiteral("%1").arg(fraction, 3, 10, QLatin1Char('0'));
    while (decimals.endsWith(u'0'))
        decimals.chop(1);
    return text + u'.' + decimals;
}

QString yuanText(double yuan)
{
    // No "-0.00" for a tiny negative remainder.
    const double rounded = std::abs(yuan) < 0.005 ? 0.0 : yuan;
    return QString::number(rounded, 'f', 2);
}

Result<std::int64_t> parseScaledDecimal(QStringView text, int places, const QString& what)
{
    const QStringView t = text.trimmed();
    const auto refuse = [&](const QString& why) {
        return badInput(QStringLiteral("%1“%2”无效：%3").arg(what, t.toString(), why));
    };
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == u'-';
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    std::int64_t whole = 0;
    int wholeDigits = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
        if (++wholeDigits > 18 - places)
            return refuse(QStringLiteral("数值太大"));
        whole = whole * 10 + (t[i].unicode() - u'0');
    }
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    if (i < t.size() && t[i] == u'.') {
        for (++i; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
            // Trailing zeros beyond the places change nothing.
            if (++fractionDigits > places) {
                if (t[i] != u'0')
                    return refuse(QStringLiteral("最多%1位小数").arg(places));
                continue;
            }
            fraction = fraction * 10 + (t[i].unicode() - u'0');
        }
    }
    if (i != t.size() || wholeDigits + fractionDigits == 0)
        return refuse(QStringLiteral("不是数字"));
    for (int d = std::min(fractionDigits, places); d < places; ++d)
        fraction *= 10;
    std::int64_t scale = 1;
    for (int d = 0; d < places; ++d)
        scale *= 10;
    const std::int64_t units = whole * scale + fraction;
    return negative ? -units : units;
}

Result<Mills> parsePositiveYuan(QStringView text, const QString& what, Mills largest)
{
    auto amount = parseScaledDecimal(text, 3, what);
    if (!amount)
        return amount.error();
    if (*amount <= 0)
        return badInput(QStringLiteral("%1须为正数，而不是%2").arg(what, text.trimmed().toString()));
    if (*amount > largest)
        return badInput(QStringLiteral("%1最多%2元，而不是%3").arg(what, yuanText(largest), text.trimmed().toString()));
    return *amount;
}

}  // namespace qeltaro
