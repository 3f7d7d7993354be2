// qeltaro-cli settings list | set | reset

#include "cli_context.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

Outcome list(Context& context, const NoOptions&)
{
    Settings& settings = context.settings();
    QStringList lines;
    QJsonArray array;
    for (const auto& definition : settingDefinitions()) {
        const QString value = settings.value(definition.key);
        lines << QStringLiteral("%1=%2\t# %3").arg(definition.key, value, definition.meaning);
        array.append(QJsonObject{{QStringLiteral("key"), definition.key},
                                 {QStringLiteral("value"), value},
                                 {QStringLiteral("default"), definition.defaultValue},
                                 {QStringLiteral("meaning"), definition.meaning}});
    }
    return answer(lines, array);
}

struct SetOptions {
    std::string key;
    std::string value;
    void bind(CLI::App* command)
    {
        command->add_option("KEY", key, "IniSerchDay, JSFF, LsXs, SyBq, ZqlJq, JSQS, HistoryUrl or FormulaUrl")->required();
        command->add_option("VALUE", value, "the new value")->required();
    }
};

// The setting as stored, after a change.
Outcome settingAnswer(Context& context, const QString& key)
{
    const QString value = context.settings().value(key);
    return answer({QStringLiteral("%1=%2").arg(key, value)},
                  QJsonObject{{QStringLiteral("key"), key}, {QStringLiteral("value"), value}});
}

Outcome set(Context& context, const SetOptions& o)
{
    if (Status s = context.settings().set(fromStd(o.key), fromStd(o.value)); !s)
        return s.error();
    return settingAnswer(context, fromStd(o.key));
}

Outcome reset(Context& context, const NoOptions&)
{
    SettingsMirror mirror = context.settings().read();
    context.settings().restoreDefaults(mirror);
    return answer({QStringLiteral("已恢复默认设置")}, QJsonObject{{QStringLiteral("reset"), true}});
}

}  // namespace

void addSettingsCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "settings", "read and change the per-user settings",
                    {{"list", "print every setting with its value", list},
                     {"set", "change one setting (validated)", set},
                     {"reset", "restore the default settings (恢复默认设置)", reset}});
}

}  // namespace qeltaro::cli
