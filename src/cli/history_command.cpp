// qeltaro-cli history add | import | list | next

#include "cli_context.h"

#include "history/draw_history.h"
#include "store/history_table.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct HistoryOptions {
    std::string period;
    std::string digits;
    std::string file;
    bool derived = false;
    std::string today;
};

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

}  // namespace

void addHistoryCommands(CLI::App& app, Context& context)
{
    auto options = std::make_shared<HistoryOptions>();
    CLI::App* history = app.add_subcommand("history", "draw history: add, import, list, next period");
    history->require_subcommand(1);

    CLI::App* add = history->add_subcommand("add", "store one draw with every derived column");
    add->add_option("PERIOD", options->period, "period number YYMMDDNNN, e.g. 160121001")->required();
    add->add_option("DIGITS", options->digits, "the five drawn digits, e.g. 38146")->required();
    setAction(add, [&context, options] {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto record = DrawHistory(**store).add(fromStd(options->period), fromStd(options->digits));
        if (!record)
            return context.fail(record.error());
        if (context.json)
            context.printJson(QJsonDocument(drawJson(*record, true)));
        else
            context.print(QStringLiteral("已添加第%1期 %2").arg(record->period, digitsText(record->digits())));
        return int(kSuccess);
    });

    CLI::App* import = history->add_subcommand("import", "store the draws of a history text file (lines \"PERIOD DIGITS\")");
    import->add_option("FILE", options->file, "history text file")->required();
    setAction(import, [&context, options] {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto report = DrawHistory(**store).importFile(fromStd(options->file));
        if (!report)
            return context.fail(report.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("stored"), report->stored},
                                                        {QStringLiteral("skipped"), report->skipped}}));
        else
            context.print(QStringLiteral("导入%1期，跳过已有的%2期").arg(report->stored).arg(report->skipped));
        return int(kSuccess);
    });

    CLI::App* list = history->add_subcommand("list", "list the stored draws in period order");
    list->add_flag("--derived", options->derived, "also print every derived column");
    setAction(list, [&context, options] {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto rows = HistoryTable(**store).all();
        if (!rows)
            return context.fail(rows.error());
        if (context.json) {
            QJsonArray array;
            for (const DrawRecord& record : *rows)
                array.append(drawJson(record, options->derived));
            context.printJson(QJsonDocument(array));
        } else {
            for (const DrawRecord& record : *rows)
                context.print(drawLine(record, options->derived));
        }
        return int(kSuccess);
    });

    CLI::App* next = history->add_subcommand("next", "print the period number proposed for the next draw");
    next->add_option("--today", options->today, "the day taken as today for an empty history (YYYY-MM-DD)");
    setAction(next, [&context, options] {
        QDate today = QDate::currentDate();
        if (!options->today.empty()) {
            today = QDate::fromString(fromStd(options->today), Qt::ISODate);
            if (!today.isValid())
                return context.fail(badInput(QStringLiteral("--today 应为 YYYY-MM-DD，而不是“%1”").arg(fromStd(options->today))));
        }
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto period = DrawHistory(**store).nextPeriod(today);
        if (!period)
            return context.fail(period.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("next"), *period}}));
        else
            context.print(*period);
        return int(kSuccess);
    });

    addHistoryUpdateCommand(app, context);
    addHistoryMaintenanceCommands(app, context);
}

}  // namespace qeltaro::cli
