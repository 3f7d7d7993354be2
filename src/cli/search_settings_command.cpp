// qeltaro-cli search-settings show | set | reset: the search's thresholds, operand counts and
// wanted counts per category (公式搜索设置).

#include "search_options.h"

#include "search/search_category.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>

namespace qeltaro::cli {
namespace {

struct SearchSettingsOptions {
    std::string category;
    std::string kind = "kill";
    std::string thresholds;
    int operands = 0;
    std::string wanted;
    CLI::Option* operandsOption = nullptr;
};

QJsonValue thresholdJson(double v)
{
    return std::isfinite(v) ? QJsonValue(thresholdText(v).toDouble()) : QJsonValue();
}

int show(Context& context, const SearchSettingsOptions& options)
{
    auto kill = parseKind(options.kind);
    if (!kill)
        return context.fail(kill.error());
    std::vector<int> numbers(schemeOrder().begin(), schemeOrder().end());
    if (!options.category.empty()) {
        auto number = parseSearchCategory(options.category);
        if (!number)
            return context.fail(number.error());
        numbers = {*number};
    }
    SchemeSettings settings(context.settings());
    const WantedCounts wanted = settings.wantedCounts(*kill);
    QJsonArray categories;
    if (!context.json) {
        QStringList header{QStringLiteral("类别")};
        for (int i = 0; i < kThresholdCount; ++i)
            header << thresholdName(i);
        header << QStringLiteral("公式运算元数") << QStringLiteral("公式数量");
        context.print(header.join(u'\t'));
    }
    for (int number : numbers) {
        const Category category = *categoryOfSearchNumber(number);
        const SearchThresholds t = settings.thresholds(*kill, number);
        const auto& want = wanted[size_t(number - 1)];
        if (context.json) {
            QJsonArray thresholds;
            for (double v : t)
                thresholds.append(thresholdJson(v));
            categories.append(QJsonObject{{QStringLiteral("category"), category.suffix()},
                                          {QStringLiteral("thresholds"), thresholds},
                                          {QStringLiteral("operands"), settings.operandCount(number)},
                                          {QStringLiteral("wanted"), want ? QJsonValue(qint64(*want)) : QJsonValue()}});
        } else {
            QStringList row{category.caption() + killWord(*kill)};
            for (double v : t)
                row << thresholdText(v);
            row << QString::number(settings.operandCount(number)) << (want ? QString::number(*want) : QStringLiteral("无"));
            context.print(row.join(u'\t'));
        }
    }
    if (context.json)
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("kind"), fromStd(options.kind)},
                                                    {QStringLiteral("categories"), categories}}));
    return kSuccess;
}

int set(Context& context, const SearchSettingsOptions& options)
{
    auto kill = parseKind(options.kind);
    if (!kill)
        return context.fail(kill.error());
    const bool perCategory = !options.thresholds.empty() || options.operandsOption->count() > 0;
    if (!perCategory && options.wanted.empty()) {
        QTextStream(stderr) << QStringLiteral("search-settings set 需要 --thresholds、--operands 或 --wanted") << '\n';
        return kUsage;
    }
    if (perCategory && options.category.empty()) {
        QTextStream(stderr) << QStringLiteral("--thresholds 和 --operands 需要 --category") << '\n';
        return kUsage;
    }
    SchemeSettings settings(context.settings());
    // Everything is checked before anything is stored.
    std::optional<int> number;
    std::optional<SearchThresholds> thresholds;
    std::optional<int> operands;
    std::optional<WantedCounts> wanted;
    if (perCategory) {
        auto parsed = parseSearchCategory(options.category);
        if (!parsed)
            return context.fail(parsed.error());
        number = *parsed;
    }
    if (!options.thresholds.empty()) {
        auto parsed = parseThresholdList(fromStd(options.thresholds));
        if (!parsed)
            return context.fail(parsed.error());
        thresholds = *parsed;
    }
    if (options.operandsOption->count() > 0) {
        auto parsed = parseOperandCount(QString::number(options.operands));
        if (!parsed)
            return context.fail(parsed.error());
        operands = *parsed;
    }
    if (!options.wanted.empty()) {
        auto parsed = parseWantedCounts(options.wanted);
        if (!parsed)
            return context.fail(parsed.error());
        WantedCounts merged = settings.wantedCounts(*kill);
        for (size_t i = 0; i < merged.size(); ++i) {
            if ((*parsed)[i])
                merged[i] = (*parsed)[i];
        }
        wanted = merged;
    }
    if (thresholds) {
        if (Status s = settings.setThresholds(*kill, *number, *thresholds); !s)
            return context.fail(s.error());
    }
    if (operands) {
        if (Status s = settings.setOperandCount(*number, *operands); !s)
            return context.fail(s.error());
    }
    if (wanted)
        settings.setWantedCounts(*kill, *wanted);
    SearchSettingsOptions shown = options;
    if (!perCategory)
        shown.category.clear();
    return show(context, shown);
}

}  // namespace

void addSearchSettingsCommands(CLI::App& app, Context& context)
{
    auto options = std::make_shared<SearchSettingsOptions>();
    CLI::App* settings = app.add_subcommand("search-settings", "the search's thresholds, operand counts and wanted counts");
    settings->require_subcommand(1);

    CLI::App* showCommand = settings->add_subcommand("show", "print the settings of every category (or one)");
    showCommand->add_option("--category", options->category, "one category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    showCommand->add_option("--kind", options->kind, "kill or keep")->capture_default_str();
    setAction(showCommand, [&context, options] { return show(context, *options); });

    CLI::App* setCommand = settings->add_subcommand("set", "change thresholds or the operand count of a category, or wanted counts");
    setCommand->add_option("--category", options->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    setCommand->add_option("--kind", options->kind, "kill or keep")->capture_default_str();
    setCommand->add_option("--thresholds", options->thresholds, "ten numbers t0,...,t9");
    options->operandsOption = setCommand->add_option("--operands", options->operands, "parameters per formula, 2..24");
    setCommand->add_option("--wanted", options->wanted, "wanted counts of the scheme, e.g. 1D=60,3G=30 (公式数量)");
    setAction(setCommand, [&context, options] { return set(context, *options); });

    CLI::App* resetCommand = settings->add_subcommand("reset", "restore the built-in search settings of every category");
    setAction(resetCommand, [&context] {
        SchemeSettings(context.settings()).reset();
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("reset"), true}}));
        else
            context.print(QStringLiteral("已恢复公式搜索的默认设置"));
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
