// qeltaro-cli smart-set: thresholds proposed from random samples (公式参数智能设置), for one category
// or, with --all, for every category, each saved as that category's thresholds.

#include "search_options.h"

#include "search/search_category.h"
#include "search/smart_setting.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace qeltaro::cli {
namespace {

struct SmartSetOptions {
    std::string category;
    KindOption kind;
    int samples = kDefaultSampleCount;
    std::string seed;
    std::string constant = "0";
    bool save = false;
    bool all = false;
    SearchWindowOptions window;
    SmartSettingRequest request;  // without the categories, which come from the settings

    void bind(CLI::App* smart)
    {
        auto* categoryOption = smart->add_option("--category", category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G");
        auto* allFlag = smart->add_flag("--all", all, "every category in turn, each result saved as its thresholds");
        kind.bind(smart);
        smart->add_option("--samples", samples, "samples per category")->capture_default_str();
        smart->add_option("--seed", seed, "seed of the random samples (default: a fresh one)");
        smart->add_option("--constant", constant, "tail constant of the samples: a number or random")->capture_default_str();
        smart->add_flag("--save", save, "save the result as the category's thresholds (保存当前种类参数设置)");
        window.addTo(smart);
        categoryOption->excludes(allFlag);
    }

    std::optional<QString> missing() const
    {
        const bool hasCategory = !category.empty();
        if (all != hasCategory)
            return std::nullopt;
        return QStringLiteral("smart-set 需要 --category 或 --all 之一");
    }

    Status read(Context& context)
    {
        if (Status s = kind.read(); !s)
            return s;
        if (samples < 1 || samples > kMaxSampleCount)
            return badInput(QStringLiteral("--samples 应为1到%1的整数").arg(kMaxSampleCount));
        auto parsedConstant = parseConstantOption(constant);
        auto parsedWindow = window.resolve(context);
        auto parsedSeed = seedOption(seed);
        if (auto error = firstError(parsedConstant, parsedWindow, parsedSeed))
            return *error;
        request.kind = kind.kind;
        request.samples = samples;
        request.constant = *parsedConstant;
        request.window = *parsedWindow;
        request.seed = *parsedSeed;
        SchemeSettings settings(context.settings());
        const auto add = [&](int number) {
            request.categories.push_back({number, settings.thresholds(request.kind, number), settings.operandCount(number)});
        };
        if (all) {
            for (int number : smartSettingAllOrder())
                add(number);
            return success();
        }
        auto number = parseSearchCategory(category);
        if (!number)
            return number.error();
        add(*number);
        return success();
    }
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

// The proposed thresholds of each category; a failure to save them ends the text where it
// happened and leaves out the JSON answer.
class SmartSetReport : public Report {
public:
    QStringList lines;
    QJsonArray categories;
    bool all = false;
    bool saved = false;
    std::uint64_t seed = 0;
    std::optional<Error> failure;

    void writeText(TextOut& out) const override
    {
        out.lines(lines);
        if (!failure)
            out.line(saved ? QStringLiteral("已保存为各类公式搜索的默认参数") : QStringLiteral("未保存（加 --save 保存为该类默认参数）"));
    }

    void writeJson(JsonOut& out) const override
    {
        if (failure)
            return;
        QJsonObject answer{{QStringLiteral("seed"), QString::number(seed)}, {QStringLiteral("saved"), saved}};
        if (all)
            answer.insert(QStringLiteral("categories"), categories);
        else
            answer.insert(QStringLiteral("thresholds"), categories.first().toObject().value(QStringLiteral("thresholds")));
        out.value(answer);
    }

    std::optional<Problem> problem() const override
    {
        if (!failure)
            return std::nullopt;
        return Problem{failure->message, exitCodeOf(*failure)};
    }
};

Outcome smartSet(Context& context, Store& store, const SmartSetOptions& options)
{
    auto history = searchHistory(store);
    if (!history)
        return history.error();
    const SmartSettingRequest& request = options.request;
    SmartSettingRun smartRun(*history, request);
    waitForRun(smartRun, [&request](const SmartSettingProgress& p) {
        const auto category = categoryOfSearchNumber(p.category);
        return category ? QStringLiteral("%1：已取样%2/%3").arg(category->caption()).arg(p.samples).arg(request.samples) : QString();
    });
    const SmartSettingOutcome& outcome = smartRun.outcome();
    if (outcome.stopped)
        return Error{ErrorKind::Cancelled, QStringLiteral("智能设置已中止，未保存任何参数")};

    auto report = std::make_unique<SmartSetReport>();
    report->all = options.all;
    report->saved = options.all || options.save;
    report->seed = request.seed;
    SchemeSettings settings(context.settings());
    for (const SmartSettingResult& r : outcome.results) {
        const Category category = *categoryOfSearchNumber(r.searchNumber);
        if (report->saved) {
            Status s = settings.setThresholds(request.kind, r.searchNumber, r.thresholds);
            if (s)
                s = settings.setOperandCount(r.searchNumber, settings.operandCount(r.searchNumber));
            if (!s) {
                report->failure = s.error();
                break;
            }
        }
        report->categories.append(QJsonObject{{QStringLiteral("category"), category.suffix()},
                                              {QStringLiteral("thresholds"), thresholdsJson(r.thresholds)}});
        report->lines << QStringLiteral("%1%2：%3").arg(category.caption(), killWord(request.kind), thresholdsLine(r.thresholds));
    }
    return ReportPtr(std::move(report));
}

}  // namespace

void addSmartSetCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("smart-set", "propose thresholds from random samples (公式参数智能设置)"), context,
                    smartSet);
}

}  // namespace qeltaro::cli
