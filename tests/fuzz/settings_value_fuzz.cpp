// The settings readers: any stored text reads as a value in range (or the default), and any
// value the command line offers is either stored valid or refused.

#include "fuzz_input.h"
#include "settings/settings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qeltaro::fuzz::ensureApplication();
    static QTemporaryDir folder;
    const QString text = qeltaro::fuzz::textOf(data, size);
    qeltaro::Settings settings(folder.filePath(QStringLiteral("settings.conf")));
    const auto& keys = qeltaro::settingDefinitions();
    const QString key = keys[size % keys.size()].key;
    // As if edited by hand: written past the checks of set().
    QSettings(settings.filePath(), QSettings::IniFormat).setValue(QStringLiteral("IniSetting/") + key, text);
    const qeltaro::SettingsMirror mirror = settings.read();
    if (mirror.searchDays < 2 || mirror.searchDays > 10 || mirror.periodWindowIndex < 0 || mirror.periodWindowIndex > 9)
        std::abort();
    if (settings.set(key, text)) {
        const qeltaro::SettingsMirror again = settings.read();
        if (again.searchDays < 2 || again.searchDays > 10)
            std::abort();
    }
    (void)qeltaro::parseSearchDays(text);
    return 0;
}
