#include "domain/parameter_catalogue.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace qeltaro {
namespace {

const std::array<QString, 5> kPositionNames = {
    QStringLiteral("万位"), QStringLiteral("千位"), QStringLiteral("百位"),
    QStringLiteral("十位"), QStringLiteral("个位")};

// Name suffix of the per-position letters A..M; H is named by residue instead.
QString letterSuffix(QChar letter)
{
    switch (letter.unicode()) {
    case 'A': return QStringLiteral("码");
    case 'B': return QStringLiteral("大小");
    case 'C': return QStringLiteral("单双");
    case 'D': return QStringLiteral("5余");
    case 'E': return QStringLiteral("3余");
    case 'F': return QStringLiteral("5段");
    case 'G': return QStringLiteral("平方");
    case 'I': return QStringLiteral("互补数");
    case 'J': return QStringLiteral("2指数方");
    case 'K': return QStringLiteral("立方");
    case 'L': return QStringLiteral("邻号和");
    case 'M': return QStringLiteral("邻号差");
    default: return {};
    }
}

std::array<Parameter, kFormulaParameterCount> buildCatalogue()
{
    std::array<Parameter, kFormulaParameterCount> table;
    for (int index = 1; index <= 65; ++index) {
        const int position = ((index - 1) % 5) + 1;
        const QChar letter(char16_t(65 + (index - 1) / 5));
        Parameter& p = table[index - 1];
        p.code = QStringLiteral("L%1%2").arg(position).arg(letter);
        p.name = letter == u'H' ? QStringLiteral("除5余%1").arg(index % 5)
                                : kPositionNames[position - 1] + letterSuffix(letter);
    }
    for (int index = 66; index <= 68; ++index) {
        table[index - 1] = {QStringLiteral("L%1P").arg(index - 65),
                            QStringLiteral("除3余%1").arg((index - 65) % 3)};
    }
    const std::array<QString, 5> qNames = {QStringLiteral("最大振幅"), QStringLiteral("合数个"),
                                           QStringLiteral("合数和"), QStringLiteral("质数个"),
                                           QStringLiteral("质数和")};
    for (int index = 69; index <= 73; ++index)
        table[index - 1] = {QStringLiteral("L%1Q").arg(index - 68), qNames[index - 69]};
    const std::array<QString, 18> wholeNames = {
        QStringLiteral("和数"), QStringLiteral("和个位"), QStringLiteral("大数个"),
        QStringLiteral("大数和"), QStringLiteral("小数个"), QStringLiteral("小数和"),
        QStringLiteral("奇数个"), QStringLiteral("奇数和"), QStringLiteral("偶数个"),
        QStringLiteral("偶数和"), QStringLiteral("数字个数"), QStringLiteral("同号个数"),
        QStringLiteral("跨度"), QStringLiteral("连同号"), QStringLiteral("连顺号"),
        QStringLiteral("逆顺号"), QStringLiteral("重上期号"), QStringLiteral("同上期数")};
    for (int index = 74; index <= 91; ++index)
        table[index - 1] = {QStringLiteral("L") + QChar(char16_t(index - 2)), wholeNames[index - 74]};
    const std::array<std::pair<const char*, QString>, 10> periodColumns = {{
        {"QH", QStringLiteral("本期号")}, {"QHW", QStringLiteral("本期号合")},
        {"SQH", QStringLiteral("上期号")}, {"SQHW", QStringLiteral("上期号合")},
        {"RQ", QStringLiteral("日期")}, {"RQW", QStringLiteral("日期合")},
        {"YF", QStringLiteral("月份")}, {"YFW", QStringLiteral("月份合")},
        {"NF", QStringLiteral("年份")}, {"NFW", QStringLiteral("年份合")}}};
    for (int index = 92; index <= 101; ++index) {
        const auto& [code, name] = periodColumns[index - 92];
        table[index - 1] = {QString::fromLatin1(code), name};
    }
    for (int position = 1; position <= 5; ++position) {
        table[coldDigitIndex(position) - 1] = {QStringLiteral("L%1LA").arg(position),
                                               kPositionNames[position - 1] + QStringLiteral("冷码")};
        table[hotDigitIndex(position) - 1] = {QStringLiteral("L%1RA").arg(position),
                                              kPositionNames[position - 1] + QStringLiteral("热码")};
    }
    return table;
}

// The replacement list in its fixed order; the order matters (longer names before their
// stems, whole-draw names before position words, residue families before suffixes).
std::vector<std::pair<QString, QString>> buildReplacements()
{
    std::vector<std::pair<QString, QString>> list;
    auto add = [&list](const char16_t* from, const char* to) {
        list.emplace_back(QString::fromUtf16(from), QString::fromLatin1(to));
    };
    add(u"最大振幅", "L1Q"); add(u"合数个", "L2Q"); add(u"合数和", "L3Q");
    add(u"质数个", "L4Q"); add(u"质数和", "L5Q");
    add(u"和数", "LH"); add(u"和个位", "LI"); add(u"大数个", "LJ"); add(u"大数和", "LK");
    add(u"小数个", "LL"); add(u"小数和", "LM"); add(u"奇数个", "LN"); add(u"奇数和", "LO");
    add(u"偶数个", "LP"); add(u"偶数和", "LQ"); add(u"数字个数", "LR"); add(u"同号个数", "LS");
    add(u"跨度", "LT"); add(u"连同号", "LU"); add(u"连顺号", "LV"); add(u"逆顺号", "LW");
    add(u"重上期号", "LX"); add(u"同上期数", "LY");
    add(u"本期号合", "QHW"); add(u"本期号", "QH"); add(u"上期号合", "SQHW"); add(u"上期号", "SQH");
    add(u"日期合", "RQW"); add(u"日期", "RQ"); add(u"月份合", "YFW"); add(u"月份", "YF");
    add(u"年份合", "NFW"); add(u"年份", "NF");
    add(u"合", "W");
    // The cold and hot digits before the position words would take them apart.
    for (int position = 1; position <= 5; ++position) {
        for (int index : {coldDigitIndex(position), hotDigitIndex(position)})
            list.emplace_back(parameterName(index), parameterCode(index));
    }
    add(u"个位", "L5"); add(u"十位", "L4"); add(u"百位", "L3"); add(u"千位", "L2"); add(u"万位", "L1");
    for (int i = 1; i <= 5; ++i)
        list.emplace_back(QStringLiteral("除5余%1").arg(i % 5), QStringLiteral("L%1H").arg(i));
    for (int i = 1; i <= 3; ++i)
        list.emplace_back(QStringLiteral("除3余%1").arg(i % 3), QStringLiteral("L%1P").arg(i));
    add(u"码", "A"); add(u"大小", "B"); add(u"单双", "C"); add(u"5余", "D"); add(u"3余", "E");
    add(u"5段", "F"); add(u"平方", "G"); add(u"立方", "K"); add(u"互补数", "I");
    add(u"2指数方", "J"); add(u"邻号和", "L"); add(u"邻号差", "M");
    return list;
}

}  // namespace

const std::array<Parameter, kFormulaParameterCount>& parameterCatalogue()
{
    static const std::array<Parameter, kFormulaParameterCount> table = buildCatalogue();
    return table;
}

const QString& parameterCode(int index)
{
    return parameterCatalogue().at(index - 1).code;
}

const QString& parameterName(int index)
{
    return parameterCatalogue().at(index - 1).name;
}

namespace {

// An ASCII word of at most 8 characters as one number, upper case; 0 for any other word.
std::uint64_t asciiKey(QStringView word)
{
    if (word.isEmpty() || word.size() > 8)
        return 0;
    std::uint64_t key = 0;
    for (QChar c : word) {
        char16_t u = c.unicode();
        if (u == 0 || u >= 0x80)
            return 0;
        if (u >= 'a' && u <= 'z')
            u = char16_t(u - 'a' + 'A');
        key = key << 8 | u;
    }
    return key;
}

}  // namespace

std::optional<int> parameterIndexOfCode(QStringView code)
{
    // Every code is a short ASCII word: such a word is found by its key among the codes' keys,
    // which is what a case-blind comparison finds for it. Any other word takes the comparison
    // itself, as Qt folds case (a word with a letter beyond ASCII may still fold to a code).
    using Keyed = std::pair<std::uint64_t, int>;
    static const std::array<Keyed, kFormulaParameterCount> byKey = [] {
        std::array<Keyed, kFormulaParameterCount> keys{};
        for (int i = 0; i < kFormulaParameterCount; ++i)
            keys[size_t(i)] = {asciiKey(parameterCatalogue()[size_t(i)].code), i + 1};
        std::sort(keys.begin(), keys.end());
        return keys;
    }();
    if (const std::uint64_t key = asciiKey(code)) {
        const auto it = std::lower_bound(byKey.begin(), byKey.end(), Keyed{key, 0});
        if (it != byKey.end() && it->first == key)
            return it->second;
        return std::nullopt;
    }
    const auto& table = parameterCatalogue();
    for (int i = 0; i < kFormulaParameterCount; ++i) {
        if (table[i].code.compare(code, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return std::nullopt;
}

const QString& positionName(int position)
{
    return kPositionNames.at(position - 1);
}

QString replaceAllOccurrences(QString text, const QString& from, const QString& to)
{
    if (from.isEmpty())
        return text;
    // Searching again from the start after each splice is the defined behaviour. No match can
    // start before (splice - from.size() + 1), since that text was searched already, so resuming
    // there gives the same result without rescanning long texts from the start each time.
    for (qsizetype at = text.indexOf(from); at >= 0;) {
        text.replace(at, from.size(), to);
        at = text.indexOf(from, std::max<qsizetype>(0, at - from.size() + 1));
    }
    return text;
}

QString replaceFirstOccurrence(QString text, const QString& from, const QString& to)
{
    if (from.isEmpty())
        return text;
    const qsizetype at = text.indexOf(from);
    if (at >= 0)
        text.replace(at, from.size(), to);
    return text;
}

QString translateToCode(const QString& chineseText)
{
    static const std::vector<std::pair<QString, QString>> replacements = buildReplacements();
    QString text = chineseText;
    for (const auto& [from, to] : replacements)
        text = replaceAllOccurrences(std::move(text), from, to);
    return text;
}

}  // namespace qeltaro
