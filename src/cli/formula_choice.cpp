#include "formula_choice.h"

#include <algorithm>

namespace qeltaro::cli {
namespace {

Result<int> idxOfNumber(int number, const std::vector<StoredFormula>& listed, const QString& listHeading)
{
    if (number < 1 || number > int(listed.size()))
        return badInput(QStringLiteral("%1公式共%2条，没有序号为%3的公式").arg(listHeading).arg(listed.size()).arg(number));
    return listed[size_t(number - 1)].idx;
}

}  // namespace

void FormulaChoice::bind(CLI::App* command)
{
    auto* byIdx = command->add_option("--idx", idx, "the formula's idx (as formula list shows it)");
    auto* byNumber = command->add_option("--number", number, "the formula's 序号 in its category and kind (as the window's list shows it)");
    byIdx->excludes(byNumber);
}

std::optional<QString> FormulaChoice::missing() const
{
    if (idx || number)
        return std::nullopt;
    return QStringLiteral("请用 --idx 或 --number 指明公式");
}

Result<int> FormulaChoice::idxAmong(const std::vector<StoredFormula>& listed, const QString& listHeading) const
{
    if (number)
        return idxOfNumber(*number, listed, listHeading);
    const bool present = std::any_of(listed.begin(), listed.end(), [this](const StoredFormula& f) { return f.idx == *idx; });
    if (!present)
        return badInput(QStringLiteral("%1公式中没有idx为%2的公式").arg(listHeading).arg(*idx));
    return *idx;
}

Result<std::vector<int>> idxOfNumbers(const std::string& text, const std::vector<StoredFormula>& listed,
                                      const QString& listHeading)
{
    std::vector<int> idxs;
    for (const QString& part : fromStd(text).split(u',')) {
        bool ok = false;
        const int number = part.trimmed().toInt(&ok);
        if (!ok)
            return badInput(QStringLiteral("选中公式“%1”无效：须为以逗号分隔的公式序号，例如 1,3,5").arg(part.trimmed()));
        auto idx = idxOfNumber(number, listed, listHeading);
        if (!idx)
            return idx.error();
        idxs.push_back(*idx);
    }
    return idxs;
}

}  // namespace qeltaro::cli
