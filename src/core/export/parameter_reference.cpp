#include "export/parameter_reference.h"

namespace qeltaro {

const QStringList& parameterReferenceHeaders()
{
    static const QStringList headers = {QStringLiteral("万位"), QStringLiteral("千位"), QStringLiteral("百位"),
                                        QStringLiteral("十位"), QStringLiteral("个位"), QStringLiteral("总位")};
    return headers;
}

std::vector<ParameterReferenceRow> parameterReferenceRows(const HistoryColumns& history)
{
    // The labels of 最大振幅..合数和 name what the columns hold (prime counts before composite).
    static const char16_t* const labels[49] = {
        u"号码", u"大小", u"单双", u"除5余数", u"除3余数", u"五段段数(对应12345段)", u"平方",
        u"除5余N(对应12340)个数", u"互补数", u"2指数方(2作底值作指数）", u"立方", u"邻号和", u"邻号差",
        u"除3余N(对应120)个数", u"最大振幅", u"质数个", u"质数和", u"合数个", u"合数和", u"和数", u"和个位",
        u"大数个", u"大数和", u"小数个", u"小数和", u"奇数个", u"奇数和", u"偶数个", u"偶数和", u"数字个数",
        u"同号个数", u"总振幅", u"连同号", u"连顺号", u"逆顺号", u"重上期号", u"同上期数", u"期号", u"期号合",
        u"上期号", u"上期合", u"年份", u"年份合", u"月份", u"月份合", u"日期", u"日期合",
        u"冷码(遗漏最久的号码)", u"热码(最近10期出现最多的号码)"};
    std::vector<ParameterReferenceRow> rows(49);
    for (int r = 0; r < 49; ++r)
        rows[size_t(r)].label = QString::fromUtf16(labels[r]);
    if (history.rowCount() == 0)
        return rows;

    const int* latest = history.rowValues(history.rowCount() - 1);
    auto value = [&](const QString& code) { return QString::number(latest[derivedIndex(code)]); };
    for (int r = 1; r <= 13; ++r) {
        for (int c = 1; c <= 5; ++c)
            rows[size_t(r - 1)].cells[size_t(c - 1)] = value(QStringLiteral("L%1%2").arg(c).arg(QChar(char16_t(64 + r))));
    }
    for (int c = 1; c <= 3; ++c)
        rows[13].cells[size_t(c - 1)] = value(QStringLiteral("L%1P").arg(c));
    for (int c = 1; c <= 5; ++c)
        rows[size_t(14 + c - 1)].cells[5] = value(QStringLiteral("L%1Q").arg(c));
    for (int r = 20; r <= 37; ++r)
        rows[size_t(r - 1)].cells[5] = value(QStringLiteral("L") + QChar(char16_t(r + 52)));
    const char* dateColumns[10] = {"QH", "QHW", "SQH", "SQHW", "NF", "NFW", "YF", "YFW", "RQ", "RQW"};
    for (int i = 0; i < 10; ++i)
        rows[size_t(37 + i)].cells[5] = value(QString::fromLatin1(dateColumns[i]));
    for (int c = 1; c <= 5; ++c) {
        rows[47].cells[size_t(c - 1)] = value(parameterCode(coldDigitIndex(c)));
        rows[48].cells[size_t(c - 1)] = value(parameterCode(hotDigitIndex(c)));
    }
    return rows;
}

}  // namespace qeltaro
