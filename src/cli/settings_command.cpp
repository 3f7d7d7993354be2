// qeltaro-cli settings list | set | reset

#include "cli_context.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {

void addSettingsCommands(CLI::App& app, Context& context)
{
    struct Options {
        std::string key;
        std::string value;
    };
    auto options = std::make_shared<Options>();
    CLI::App* settings = app.add_subcommand("settings", "read and change the per-user settings");
    settings->require_subcommand(1);

    CLI::App* list = settings->add_subcommand("list", "print every setting with its value");
    setAction(list, [&context] {
        Settings& store = context.settings();
        if (context.json) {
            QJsonArray array;
            for (const auto& definition : settingDefinitions()) {
                array.append(QJsonObject{{QStringLiteral("key"), definition.key},
                                         {QStringLiteral("value"), store.value(definition.key)},
                                         {QStringLiteral("default"), definition.defaultValue},
                                         {QStringLiteral("meaning"), definition.meaning}});
            }
            context.printJson(QJsonDocument(array));
        } else {
            for (const auto& definition : settingDefinitions())
                context.print(QStringLiteral("%1=%2\t# %3").arg(definition.key, store.value(definition.key), definition.meaning));
        }
        return int(kSuccess);
    });

    CLI::App* set = settings->add_subcommand("set", "change one setting (validated)");
    set->add_option("KEY", options->key, "IniSerchDay, JSFF, LsXs, SyBq, ZqlJq, JSQS, HistoryUrl or FormulaUrl")->required();
    set->add_option("VALUE", options->value, "the new value")->required();
    setAction(set, [&context, options] {
        if (Status s = context.settings().set(fromStd(options->key), fromStd(options->value)); !s)
            return context.fail(s.error());
        const QString key = fromStd(options->key);
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("key"), key},
                                                        {QStringLiteral("value"), context.settings().value(key)}}));
        else
            context.print(QStringLiteral("%1=%2").arg(key, context.settings().value(key)));
        return int(kSuccess);
    });

    CLI::App* reset = settings->add_subcommand("reset", "restore the default settings (恢复默认设置)");
    setAction(reset, [&context] {
        SettingsMirror mirror = context.settings().read();
        context.settings().restoreDefaults(mirror);
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("reset"), true}}));
        else
            context.print(QStringLiteral("已恢复默认设置"));
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
