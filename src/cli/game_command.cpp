// qeltaro-cli game show | set

#include "cli_context.h"

#include "history/game_schedule.h"
#include "store/store.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace qeltaro::cli {
namespace {

QString numberingWord(Numbering numbering)
{
    return numbering == Numbering::Date ? QStringLiteral("按日期（年月日YYMMDD+期数）")
                                        : QStringLiteral("按年份（年份YY+序号，每期带开奖日期）");
}

QJsonArray scheduleJson(const DrawSchedule& schedule)
{
    QJsonArray segments;
    for (const ScheduleSegment& s : schedule.segments)
        segments.append(QJsonObject{{QStringLiteral("first"), minuteText(s.firstMinute)},
                                    {QStringLiteral("every"), s.everyMinutes},
                                    {QStringLiteral("draws"), s.draws}});
    return segments;
}

Outcome gameAnswer(Store& store)
{
    const Game& game = store.game();
    auto schedule = readGameSchedule(store);
    if (!schedule)
        return schedule.error();
    return answer({QStringLiteral("彩种：%1").arg(game.name),
                   QStringLiteral("每天开奖期数：%1").arg(game.drawsPerDay),
                   QStringLiteral("期数位数：%1").arg(game.issueDigits),
                   QStringLiteral("编号方式：%1 %2（例如%3）")
                       .arg(numberingName(game.numbering), numberingWord(game.numbering), game.examplePeriod()),
                   QStringLiteral("开奖时间表：%1").arg(schedule->empty() ? QStringLiteral("无") : schedule->text())},
                  QJsonObject{{QStringLiteral("name"), game.name},
                              {QStringLiteral("drawsPerDay"), game.drawsPerDay},
                              {QStringLiteral("issueDigits"), game.issueDigits},
                              {QStringLiteral("numbering"), numberingName(game.numbering)},
                              {QStringLiteral("schedule"), scheduleJson(*schedule)}});
}

Outcome show(Context&, Store& store, const NoOptions&)
{
    return gameAnswer(store);
}

// Options left out keep the store's current values.
struct SetOptions {
    std::optional<std::string> name;
    std::optional<int> drawsPerDay;
    std::optional<int> issueDigits;
    std::optional<std::string> numberingText;
    std::optional<Numbering> numbering;
    std::optional<std::string> scheduleText;
    std::optional<DrawSchedule> schedule;

    void bind(CLI::App* command)
    {
        command->add_option("--name", name, "the game's name, shown in the window title");
        command->add_option("--draws-per-day", drawsPerDay, "draws a day, 1 to 1440");
        command->add_option("--issue-digits", issueDigits, "digits of the issue: 3 or 4");
        command->add_option("--numbering", numberingText, "date (YYMMDD + issue) or year (YY + sequence)");
        command->add_option("--schedule", scheduleText,
                            "draw times FIRST/MINUTES/DRAWS,... in local time, e.g. 00:05/5/23,10:00/10/73,22:05/5/24; "
                            "\"\" removes it");
    }
    Status read()
    {
        if (scheduleText) {
            auto parsed = parseDrawSchedule(fromStd(*scheduleText));
            if (!parsed)
                return badInput(parsed.error().message + QStringLiteral("；彩种没有改变"));
            schedule = std::move(*parsed);
        }
        if (!numberingText)
            return success();
        numbering = numberingFromName(fromStd(*numberingText));
        if (!numbering)
            return badInput(QStringLiteral("编号方式“%1”无效：只能是date或year").arg(fromStd(*numberingText)));
        return success();
    }
};

Outcome set(Context&, Store& store, const SetOptions& o)
{
    Game game = store.game();
    if (o.name)
        game.name = fromStd(*o.name).trimmed();
    game.drawsPerDay = o.drawsPerDay.value_or(game.drawsPerDay);
    game.issueDigits = o.issueDigits.value_or(game.issueDigits);
    game.numbering = o.numbering.value_or(game.numbering);
    auto schedule = readGameSchedule(store);
    if (!schedule)
        return schedule.error();
    if (Status s = changeGame(store, game, o.schedule.value_or(*schedule)); !s)
        return s.error();
    return gameAnswer(store);
}

}  // namespace

void addGameCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "game", "the game of the data folder: draws per day and period numbering",
                    {{"show", "print the data folder's game", show},
                     {"set", "change the game (only its name and schedule once draws are stored)", set}});
}

}  // namespace qeltaro::cli
