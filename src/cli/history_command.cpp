// qeltaro-cli history add | import | list | next

#include "cli_context.h"

#include "history/draw_history.h"
#include "history/game_schedule.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace qeltaro::cli {
namespace {

QJsonObject drawJson(const DrawRecord& record, bool derived)
{
    QJsonObject row{{QStringLiteral("period"), record.period},
                    {QStringLiteral("digits"), digitsText(record.digits())}};
    if (derived) {
        QJsonObject columns;
        for (int i = 0; i < kParameterCount; ++i)
            columns.insert(parameterCode(i + 1), record.values[i]);
        row.insert(QStringLiteral("columns"), columns);
    }
    return row;
}

QString drawLine(const DrawRecord& record, bool derived)
{
    QString line = record.period + u' ' + digitsText(record.digits());
    if (derived) {
        for (int i = 5; i < kParameterCount; ++i)
            line += QStringLiteral(" %1=%2").arg(parameterCode(i + 1)).arg(record.values[i]);
    }
    return line;
}

// A date option YYYY-MM-DD; nullopt when not given.
Result<std::optional<QDate>> readDateOption(const char* option, const std::string& text)
{
    if (text.empty())
        return std::optional<QDate>();
    const QDate date = QDate::fromString(fromStd(text), Qt::ISODate);
    if (!date.isValid())
        return badInput(QStringLiteral("%1 应为 YYYY-MM-DD，而不是“%2”").arg(QLatin1String(option), fromStd(text)));
    return std::optional<QDate>(date);
}

struct AddOptions {
    std::string period;
    std::string digits;
    std::string dateText;
    std::optional<QDate> date;
    void bind(CLI::App* command)
    {
        command->add_option("PERIOD", period, "period number in the game's form, e.g. 160121001")->required();
        command->add_option("DIGITS", digits, "the five drawn digits, e.g. 38146")->required();
        command->add_option("--date", dateText, "draw date YYYY-MM-DD (needed by year-numbered games)");
    }
    Status read()
    {
        auto given = readDateOption("--date", dateText);
        if (!given)
            return given.error();
        date = *given;
        return success();
    }
};

Outcome add(Context&, Store& store, const AddOptions& o)
{
    auto record = DrawHistory(store).add(fromStd(o.period), fromStd(o.digits), o.date);
    if (!record)
        return record.error();
    return answer({QStringLiteral("已添加第%1期 %2").arg(record->period, digitsText(record->digits()))},
                  drawJson(*record, true));
}

struct ImportOptions {
    std::string file;
    void bind(CLI::App* command) { command->add_option("FILE", file, "history text file")->required(); }
};

Outcome importDraws(Context&, Store& store, const ImportOptions& o)
{
    auto report = DrawHistory(store).importFile(fromStd(o.file));
    if (!report)
        return report.error();
    return answer({QStringLiteral("导入%1期，跳过已有的%2期").arg(report->stored).arg(report->skipped)},
                  QJsonObject{{QStringLiteral("stored"), report->stored}, {QStringLiteral("skipped"), report->skipped}});
}

struct DrawListOptions {
    bool derived = false;
    void bind(CLI::App* command) { command->add_flag("--derived", derived, "also print every derived column"); }
};

// The stored draws, a line or an array element each.
class DrawsReport : public Report {
public:
    DrawsReport(std::vector<DrawRecord> draws, bool derived) : draws_(std::move(draws)), derived_(derived) {}
    void writeText(TextOut& out) const override
    {
        for (const DrawRecord& record : draws_)
            out.line(drawLine(record, derived_));
    }
    void writeJson(JsonOut& out) const override
    {
        out.beginArray();
        for (const DrawRecord& record : draws_)
            out.value(drawJson(record, derived_));
        out.endArray();
    }

private:
    std::vector<DrawRecord> draws_;
    bool derived_;
};

Outcome list(Context&, Store& store, const DrawListOptions& o)
{
    auto rows = DrawHistory(store).draws();
    if (!rows)
        return rows.error();
    return makeReport<DrawsReport>(std::move(*rows), o.derived);
}

struct NextOptions {
    std::string todayText;
    QDate today;
    void bind(CLI::App* command)
    {
        command->add_option("--today", todayText, "the day taken as today for an empty history (YYYY-MM-DD)");
    }
    Status read() { return readToday(todayText, today); }
};

Outcome next(Context&, Store& store, const NextOptions& o)
{
    auto period = DrawHistory(store).nextPeriod(o.today);
    if (!period)
        return period.error();
    auto due = nextDrawDue(store, o.today);
    if (!due)
        return due.error();
    QJsonObject json{{QStringLiteral("next"), *period}};
    QStringList lines{*period};
    if (due->isValid()) {
        json.insert(QStringLiteral("due"), due->toString(QStringLiteral("yyyy-MM-ddTHH:mm:00")));
        lines << QStringLiteral("开奖时间：%1").arg(due->toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }
    return answer(lines, json);
}

}  // namespace

Status readToday(const std::string& text, QDate& today)
{
    auto given = readDateOption("--today", text);
    if (!given)
        return given.error();
    today = given->value_or(QDate::currentDate());
    return success();
}

void addHistoryCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "history", "draw history: add, import, list, next period",
                    {{"add", "store one draw with every derived column", add},
                     {"import", "store the draws of a history text file (lines \"PERIOD DIGITS\")", importDraws},
                     {"list", "list the stored draws in period order", list},
                     {"next", "print the period number proposed for the next draw", next}});
    addHistoryUpdateCommand(app, context);
    addHistoryMaintenanceCommands(app, context);
}

}  // namespace qeltaro::cli
