// qeltaro-cli smart-set: thresholds proposed from random samples (公式参数智能设置), for one category
// or, with --all, for every category, each saved as that category's thresholds.

#include "search_options.h"

#include "search/search_category.h"
#include "search/smart_setting.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>


namespace qeltaro::cli {
namespace {

struct SmartSetOptions {
    std::string category;
    std::string kind = "kill";
    int samples = kDefaultSampleCount;
    std::string seed;
    std::string constant = "0";
    bool save = false;
    bool all = false;
    SearchWindowOptions window;
};

QJsonArray thresholdsJson(const SearchThresholds& t)
{
    QJsonArray array;
    for (double v : t)
        array.append(std::isfinite(v) ? QJsonValue(thresholdText(v).toDouble()) : QJsonValue());
    return array;
}

QString thresholdsLine(const SearchThresholds& t)
{
    QStringList texts;
    for (double v : t)
        texts << thresholdText(v);
    return texts.join(u',');
}

int run(Context& context, const SmartSetOptions& options)
{
    if (options.all == !options.category.empty()) {
        QTextStream(stderr) << QStringLiteral("smart-set 需要 --category 或 --all 之一") << '\n';
        return kUsage;
    }
    auto kill = parseKind(options.kind);
    if (!kill)
        return context.fail(kill.error());
    if (options.samples < 1 || options.samples > kMaxSampleCount)
        return context.fail(badInput(QStringLiteral("--samples 应为1到%1的整数").arg(kMaxSampleCount)));
    auto constant = parseConstantOption(options.constant);
    auto window = options.window.resolve(context);
    auto seed = seedOption(options.seed);
    if (auto error = firstError(constant, window, seed))
        return context.fail(*error);

    SchemeSettings settings(context.settings());
    SmartSettingRequest request;
    request.kind = *kill;
    request.samples = options.samples;
    request.constant = *constant;
    request.window = *window;
    request.seed = *seed;
    if (options.all) {
        for (int number : smartSettingAllOrder())
            request.categories.push_back({number, settings.thresholds(*kill, number), settings.operandCount(number)});
    } else {
        auto number = parseSearchCategory(options.category);
        if (!number)
            return context.fail(number.error());
        request.categories.push_back({*number, settings.thresholds(*kill, *number), settings.operandCount(*number)});
    }
    auto history = searchHistory(context);
    if (!history)
        return context.fail(history.error());

    SmartSettingRun smartRun(*history, request);
    waitForRun(smartRun, [&request](const SmartSettingProgress& p) {
        const auto category = categoryOfSearchNumber(p.category);
        return category ? QStringLiteral("%1：已取样%2/%3").arg(category->caption()).arg(p.samples).arg(request.samples)
                        : QString();
    });
    const SmartSettingOutcome& outcome = smartRun.outcome();
    if (outcome.stopped)
        return context.fail(Error{ErrorKind::Cancelled, QStringLiteral("智能设置已中止，未保存任何参数")});

    const bool save = options.all || options.save;
    QJsonArray categories;
    for (const SmartSettingResult& r : outcome.results) {
        const Category category = *categoryOfSearchNumber(r.searchNumber);
        if (save) {
            if (Status s = settings.setThresholds(*kill, r.searchNumber, r.thresholds); !s)
                return context.fail(s.error());
            if (Status s = settings.setOperandCount(r.searchNumber, settings.operandCount(r.searchNumber)); !s)
                return context.fail(s.error());
        }
        categories.append(QJsonObject{{QStringLiteral("category"), category.suffix()},
                                      {QStringLiteral("thresholds"), thresholdsJson(r.thresholds)}});
        if (!context.json)
            context.print(QStringLiteral("%1%2：%3").arg(category.caption(), killWord(*kill), thresholdsLine(r.thresholds)));
    }
    if (context.json) {
        QJsonObject answer{{QStringLiteral("seed"), QString::number(request.seed)}, {QStringLiteral("saved"), save}};
        if (options.all)
            answer.insert(QStringLiteral("categories"), categories);
        else
            answer.insert(QStringLiteral("thresholds"), categories.first().toObject().value(QStringLiteral("thresholds")));
        context.printJson(QJsonDocument(answer));
    } else {
        context.print(save ? QStringLiteral("已保存为各类公式搜索的默认参数") : QStringLiteral("未保存（加 --save 保存为该类默认参数）"));
    }
    return kSuccess;
}

}  // namespace

void addSmartSetCommand(CLI::App& app, Context& context)
{
    auto options = std::make_shared<SmartSetOptions>();
    CLI::App* smart = app.add_subcommand("smart-set", "propose thresholds from random samples (公式参数智能设置)");
    auto* category = smart->add_option("--category", options->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
    auto* all = smart->add_flag("--all", options->all, "every category in turn, each result saved as its thresholds");
    smart->add_option("--kind", options->kind, "kill or keep")->capture_default_str();
    smart->add_option("--samples", options->samples, "samples per category")->capture_default_str();
    smart->add_option("--seed", options->seed, "seed of the random samples (default: a fresh one)");
    smart->add_option("--constant", options->constant, "tail constant of the samples: a number or random")->capture_default_str();
    smart->add_flag("--save", options->save, "save the result as the category's thresholds (保存当前种类参数设置)");
    options->window.addTo(smart);
    category->excludes(all);
    setAction(smart, [&context, options] { return run(context, *options); });
}

}  // namespace qeltaro::cli
