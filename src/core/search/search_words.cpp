#include "search/search_words.h"

namespace qeltaro {

QString formName(FormulaForm form)
{
    return form == FormulaForm::Prefix ? QStringLiteral("prefix") : QStringLiteral("suffix");
}

std::optional<FormulaForm> formFromName(QStringView name)
{
    if (name == u"prefix")
        return FormulaForm::Prefix;
    if (name == u"suffix")
        return FormulaForm::Suffix;
    return std::nullopt;
}

QString countModeName(CountMode mode)
{
    return mode == CountMode::Add ? QStringLiteral("add") : QStringLiteral("hold");
}

std::optional<CountMode> countModeFromName(QStringView name)
{
    if (name == u"add")
        return CountMode::Add;
    if (name == u"hold")
        return CountMode::Hold;
    return std::nullopt;
}

}  // namespace qeltaro
