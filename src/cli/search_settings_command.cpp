// qeltaro-cli search-settings show | set | reset: the search's thresholds, operand counts and
// wanted counts per category (公式搜索设置).

#include "search_options.h"

#include "search/search_category.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace qeltaro::cli {
namespace {

QJsonValue thresholdJson(double v)
{
    return std::isfinite(v) ? QJsonValue(thresholdText(v).toDouble()) : QJsonValue();
}

// The settings of the categories of one kind, a row each.
Outcome settingsTable(Context& context, Kind kind, const std::vector<int>& numbers)
{
    SchemeSettings settings(context.settings());
    const WantedCounts wanted = settings.wantedCounts(kind);
    QStringList header{QStringLiteral("类别")};
    for (int i = 0; i < kThresholdCount; ++i)
        header << thresholdName(i);
    header << QStringLiteral("公式运算元数") << QStringLiteral("公式数量");
    QStringList lines{header.join(u'\t')};
    QJsonArray categories;
    for (int number : numbers) {
        const Category category = *categoryOfSearchNumber(number);
        const SearchThresholds t = settings.thresholds(kind, number);
        const auto& want = wanted[size_t(number - 1)];
        QJsonArray thresholds;
        QStringList row{category.caption() + killWord(kind)};
        for (double v : t) {
            thresholds.append(thresholdJson(v));
            row << thresholdText(v);
        }
        row << QString::number(settings.operandCount(number)) << (want ? QString::number(*want) : QStringLiteral("无"));
        lines << row.join(u'\t');
        categories.append(QJsonObject{{QStringLiteral("category"), category.suffix()},
                                      {QStringLiteral("thresholds"), thresholds},
                                      {QStringLiteral("operands"), settings.operandCount(number)},
                                      {QStringLiteral("wanted"), want ? QJsonValue(qint64(*want)) : QJsonValue()}});
    }
    return answer(lines, QJsonObject{{QStringLiteral("kind"), kindName(kind)}, {QStringLiteral("categories"), categories}});
}

// --category, one category of the scheme; every one when not given.
struct CategoryOption {
    std::string text;
    std::optional<int> number;

    Status read()
    {
        if (text.empty())
            return success();
        auto parsed = parseSearchCategory(text);
        if (!parsed)
            return parsed.error();
        number = *parsed;
        return success();
    }
    std::vector<int> numbers() const
    {
        return number ? std::vector<int>{*number} : std::vector<int>(schemeOrder().begin(), schemeOrder().end());
    }
};

struct ShowOptions {
    CategoryOption category;
    KindOption kind;

    void bind(CLI::App* command)
    {
        command->add_option("--category", category.text, "one category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
        kind.bind(command);
    }
    Status read()
    {
        if (Status s = kind.read(); !s)
            return s;
        return category.read();
    }
};

Outcome show(Context& context, const ShowOptions& o)
{
    return settingsTable(context, o.kind.kind, o.category.numbers());
}

struct SetOptions {
    CategoryOption category;
    KindOption kind;
    std::string thresholdsText;
    int operandsValue = 0;
    std::string wantedText;
    CLI::Option* operandsOption = nullptr;
    // Everything is read before anything is stored.
    std::optional<SearchThresholds> thresholds;
    std::optional<int> operands;
    std::optional<WantedCounts> wanted;

    void bind(CLI::App* command)
    {
        command->add_option("--category", category.text, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
        kind.bind(command);
        command->add_option("--thresholds", thresholdsText, "ten numbers t0,...,t9");
        operandsOption = command->add_option("--operands", operandsValue, "parameters per formula, 2..24");
        command->add_option("--wanted", wantedText, "wanted counts of the scheme, e.g. 1D=60,3G=30 (公式数量)");
    }
    bool perCategory() const { return !thresholdsText.empty() || operandsOption->count() > 0; }
    std::optional<QString> missing() const
    {
        if (!kindFromName(fromStd(kind.text)))
            return std::nullopt;  // the kind is refused first
        if (!perCategory() && wantedText.empty())
            return QStringLiteral("search-settings set 需要 --thresholds、--operands 或 --wanted");
        if (perCategory() && category.text.empty())
            return QStringLiteral("--thresholds 和 --operands 需要 --category");
        return std::nullopt;
    }
    Status read(Context& context)
    {
        if (Status s = kind.read(); !s)
            return s;
        if (perCategory()) {
            if (Status s = category.read(); !s)
                return s;
        }
        if (Status s = readOperandsAndThresholds(operandsOption, operandsValue, thresholdsText, operands, thresholds); !s)
            return s;
        if (!wantedText.empty()) {
            auto parsed = parseWantedCounts(wantedText);
            if (!parsed)
                return parsed.error();
            WantedCounts merged = SchemeSettings(context.settings()).wantedCounts(kind.kind);
            for (size_t i = 0; i < merged.size(); ++i) {
                if ((*parsed)[i])
                    merged[i] = (*parsed)[i];
            }
            wanted = merged;
        }
        return success();
    }
};

Outcome set(Context& context, const SetOptions& o)
{
    SchemeSettings settings(context.settings());
    if (o.thresholds) {
        if (Status s = settings.setThresholds(o.kind.kind, *o.category.number, *o.thresholds); !s)
            return s.error();
    }
    if (o.operands) {
        if (Status s = settings.setOperandCount(*o.category.number, *o.operands); !s)
            return s.error();
    }
    if (o.wanted)
        settings.setWantedCounts(o.kind.kind, *o.wanted);
    // What changed: the category's row, or every row after wanted counts alone.
    return settingsTable(context, o.kind.kind, o.perCategory() ? o.category.numbers() : CategoryOption().numbers());
}

Outcome reset(Context& context, const NoOptions&)
{
    SchemeSettings(context.settings()).reset();
    return answer({QStringLiteral("已恢复公式搜索的默认设置")}, QJsonObject{{QStringLiteral("reset"), true}});
}

}  // namespace

void addSearchSettingsCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "search-settings", "the search's thresholds, operand counts and wanted counts",
                    {{"show", "print the settings of every category (or one)", show},
                     {"set", "change thresholds or the operand count of a category, or wanted counts", set},
                     {"reset", "restore the built-in search settings of every category", reset}});
}

}  // namespace qeltaro::cli
