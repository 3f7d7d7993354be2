// qeltaro-cli trend | streaks: the trend chart (走势图) of a position or of the last three, with
// the chance of every current omission, and the current long runs (长龙) with theirs.

#include "calculation_options.h"

#include "domain/parameter_catalogue.h"
#include "trend/streaks.h"
#include "trend/trend_chart.h"

#include <QJsonArray>
#include <QJsonObject>

#include <span>

namespace qeltaro::cli {
namespace {

Result<int> parsePosition(const std::string& text)
{
    for (int position = 1; position <= 5; ++position) {
        if (fromStd(text) == positionName(position))
            return position;
    }
    return badInput(QStringLiteral("未知位置“%1”：可用 万位、千位、百位、十位、个位").arg(fromStd(text)));
}

// The form's name on the command line: "digit" for the digit itself, else its Chinese name.
Result<TrendForm> parseForm(const std::string& text, std::span<const TrendForm> forms, const QString& option)
{
    QStringList names;
    for (TrendForm form : forms) {
        const QString name = form == TrendForm::Digit ? QStringLiteral("digit") : trendFormName(form);
        if (fromStd(text) == name)
            return form;
        names << name;
    }
    return badInput(QStringLiteral("%1 的值“%2”无效：可用 %3").arg(option, fromStd(text), names.join(QStringLiteral("、"))));
}

struct TrendOptions {
    std::string positionText;
    std::string formText = "digit";
    std::string lastThreeText;
    std::string periodsText;
    CLI::Option* positionOption = nullptr;
    CLI::Option* lastThreeOption = nullptr;
    TrendSubject subject;
    std::optional<int> periods;  // nullopt: all

    void bind(CLI::App* command)
    {
        positionOption = command->add_option("--position", positionText, "万位, 千位, 百位, 十位 or 个位");
        auto* form = command->add_option("--form", formText, "with --position: digit (default), 大小, 单双, 质合 or 012路");
        lastThreeOption = command->add_option("--last-three", lastThreeText, "the last three positions' 和值, 跨度 or 形态");
        command->add_option("--periods", periodsText, "newest periods shown: a number or all (default 100)");
        positionOption->excludes(lastThreeOption);
        form->excludes(lastThreeOption);
    }
    std::optional<QString> missing() const
    {
        if (positionOption->count() + lastThreeOption->count() > 0)
            return std::nullopt;
        return QStringLiteral("请指定 --position 位置 或 --last-three 和值|跨度|形态 之一");
    }
    Status read()
    {
        if (positionOption->count() > 0) {
            auto position = parsePosition(positionText);
            if (!position)
                return position.error();
            auto form = parseForm(formText, kPositionForms, QStringLiteral("--form"));
            if (!form)
                return form.error();
            subject = {*form, *position};
        } else {
            auto form = parseForm(lastThreeText, kLastThreeForms, QStringLiteral("--last-three"));
            if (!form)
                return form.error();
            subject = {*form, 5};
        }
        int count = kDefaultTrendPeriods;
        if (Status s = readPeriodCount(periodsText, QStringLiteral("--periods"), count); !s)
            return s;
        periods = count > 0 ? std::optional<int>(count) : std::nullopt;
        return success();
    }
};

QJsonArray numbers(const auto& values)
{
    QJsonArray out;
    for (const auto value : values)
        out.append(value);
    return out;
}

class TrendReport : public Report {
public:
    TrendReport(TrendChart chart, HistoryColumns history) : chart_(std::move(chart)), history_(std::move(history)) {}

    void writeText(TextOut& out) const override
    {
        const QStringList& labels = trendValueLabels(chart_.subject.form);
        const QString subject = isLastThreeForm(chart_.subject.form) ? QStringLiteral("后三")
                                                                     : positionName(chart_.subject.position);
        out.line(QStringLiteral("%1%2走势，最新%3期（遗漏；[ ]为开出的值）")
                     .arg(subject, trendFormName(chart_.subject.form))
                     .arg(chart_.rowCount()));
        out.line((QStringList{QStringLiteral("期号"), QStringLiteral("开奖号")} + labels).join(u'\t'));
        for (int r = 0; r < chart_.rowCount(); ++r) {
            const int row = chart_.firstRow + r;
            QStringList cells{history_.period(row), digitsText(history_.digits(row))};
            for (int v = 0; v < chart_.valueCount(); ++v)
                cells << (chart_.values[size_t(r)] == v ? QStringLiteral("[%1]").arg(labels[v])
                                                        : QString::number(chart_.omission(r, v)));
            out.line(cells.join(u'\t'));
        }
        const TrendStatistics& s = chart_.statistics;
        auto statisticLine = [&](const QString& label, auto text) {
            QStringList cells{label, QString()};
            for (int v = 0; v < chart_.valueCount(); ++v)
                cells << text(size_t(v));
            out.line(cells.join(u'\t'));
        };
        statisticLine(QStringLiteral("出现次数"), [&](size_t v) { return QString::number(s.appearances[v]); });
        statisticLine(QStringLiteral("平均遗漏"), [&](size_t v) { return QString::number(s.averageOmission[v], 'f', 2); });
        statisticLine(QStringLiteral("最大遗漏"), [&](size_t v) { return QString::number(s.maxOmission[v]); });
        statisticLine(QStringLiteral("当前遗漏"), [&](size_t v) { return QString::number(s.currentOmission[v]); });
        statisticLine(QStringLiteral("最大连出"), [&](size_t v) { return QString::number(s.maxRun[v]); });
        statisticLine(QStringLiteral("当前遗漏的随机概率"), [&](size_t v) { return chanceText(s.currentOmissionChance[v]); });
        out.line(equalChanceNote());
    }

    void writeJson(JsonOut& out) const override
    {
        const QStringList& labels = trendValueLabels(chart_.subject.form);
        const TrendStatistics& s = chart_.statistics;
        out.beginObject(JsonOut::MemberOrder::AsWritten);  // values first, as documented
        out.member(QStringLiteral("values"), QJsonArray::fromStringList(labels));
        out.member(QStringLiteral("chances"), numbers(trendValueChances(chart_.subject.form)));
        out.key(QStringLiteral("rows")).beginArray();
        for (int r = 0; r < chart_.rowCount(); ++r) {
            QJsonArray omission;
            for (int v = 0; v < chart_.valueCount(); ++v)
                omission.append(chart_.omission(r, v));
            out.value(QJsonObject{{QStringLiteral("period"), history_.period(chart_.firstRow + r)},
                                  {QStringLiteral("value"), labels[chart_.values[size_t(r)]]},
                                  {QStringLiteral("omission"), omission}});
        }
        out.endArray();
        out.member(QStringLiteral("stats"), QJsonObject{{QStringLiteral("appearances"), numbers(s.appearances)},
                                                        {QStringLiteral("maxOmission"), numbers(s.maxOmission)},
                                                        {QStringLiteral("averageOmission"), numbers(s.averageOmission)},
                                                        {QStringLiteral("currentOmission"), numbers(s.currentOmission)},
                                                        {QStringLiteral("maxRun"), numbers(s.maxRun)},
                                                        {QStringLiteral("currentOmissionChance"),
                                                         numbers(s.currentOmissionChance)}});
        out.endObject();
    }

private:
    TrendChart chart_;
    HistoryColumns history_;
};

Outcome trend(Context&, Store& store, const TrendOptions& o)
{
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    TrendChart chart = trendChart(*history, o.subject, o.periods);
    return makeReport<TrendReport>(std::move(chart), std::move(*history));
}

Outcome streaks(Context&, Store& store, const NoOptions&)
{
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    QStringList lines;
    QJsonArray json;
    for (const Streak& streak : currentStreaks(*history)) {
        lines << streakCells(streak).join(u'\t');
        json.append(QJsonObject{{QStringLiteral("position"), positionName(streak.position)},
                                {QStringLiteral("form"), trendFormName(streak.form)},
                                {QStringLiteral("value"), streak.valueLabel()},
                                {QStringLiteral("length"), streak.length},
                                {QStringLiteral("chance"), streak.chance}});
    }
    if (lines.isEmpty())
        lines << QStringLiteral("历史号码为空，没有长龙");
    else
        lines = QStringList{streakHeaders().join(u'\t')} + lines + QStringList{streakNote()};
    return answer(lines, json);
}

}  // namespace

void addTrendCommands(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("trend", "the trend chart (走势图): omissions, their statistics and chances"),
                    context, trend);
    addStoreCommand(app.add_subcommand("streaks", "the current long runs (长龙) of 大小 and 单双 with their chances"),
                    context, streaks);
}

}  // namespace qeltaro::cli
