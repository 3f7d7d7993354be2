#pragma once
// The per-user settings store (application Qeltaro, section IniSetting): values kept as text,
// flags as "True"/"False", numbers in decimal; a missing or unreadable value reads as its default.

#include "common/result.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QSettings;

namespace qeltaro {

inline constexpr int kPeriodWindowChoices = 10;
// JSQS index 0..9 to the number of history rows evaluated (0 = all) and its menu caption.
int periodWindowOfIndex(int index);
QString periodWindowCaption(int index);

// The days dialog's rule: a whole number 2..10. Returns the days, or nullopt for anything else.
std::optional<int> parseSearchDays(const QString& answer);
QString searchDaysRefusal();  // the message shown when the answer is refused

struct SettingDefinition {
    QString key;
    QString defaultValue;
    QString meaning;
};

// The one table of keys and defaults.
const std::vector<SettingDefinition>& settingDefinitions();

// What the running program keeps in memory, read once and changed by the settings commands.
struct SettingsMirror {
    int searchDays = 3;                  // IniSerchDay
    bool calculateSelected = false;      // JSFF: Option6(1) "计算选中公式"
    bool showOnCurrentRow = false;       // LsXs
    QString valueColumnName = QStringLiteral("PreCanshu");
    bool windowExcludesCurrent = true;   // SyBq
    bool weightedRate = true;            // ZqlJq
    int periodWindowIndex = 3;           // JSQS
    int periodWindow = 300;
};

class Settings {
public:
    // The user's own store (~/.config/Qeltaro/Qeltaro.ini on Linux; XDG_CONFIG_HOME moves it).
    Settings();
    // A store in a given file, for tests and for --config.
    explicit Settings(const QString& filePath);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    QString filePath() const;

    // Raw text of a key, or its default when absent.
    QString value(const QString& key) const;
    // Validates and stores a value of any key of the table; nothing is stored when refused.
    Status set(const QString& key, const QString& value);

    SettingsMirror read() const;

    void setShowOnCurrentRow(SettingsMirror& mirror, bool onCurrentRow);
    void toggleWindowExcludesCurrent(SettingsMirror& mirror);
    void toggleWeightedRate(SettingsMirror& mirror);
    void setPeriodWindowIndex(SettingsMirror& mirror, int index);
    void setCalculateSelected(SettingsMirror& mirror, bool selected);
    void setSearchDays(SettingsMirror& mirror, int days);
    // Restores the defaults of the settings menu: JSFF stays, IniSerchDay is stored as "6"
    // while the mirror keeps its days until the key is next read.
    void restoreDefaults(SettingsMirror& mirror);

    // Addresses of the online sources; empty when not configured.
    QString historyUrl() const { return value(QStringLiteral("HistoryUrl")); }
    QString formulaUrl() const { return value(QStringLiteral("FormulaUrl")); }

    // The search window's thresholds, operand counts and wanted counts, kept under their own
    // "section/key" names outside IniSetting (search/scheme_settings.h reads and checks them).
    std::optional<QString> searchValue(const QString& path) const;
    void setSearchValue(const QString& path, const QString& text);
    void removeSearchValue(const QString& path);  // a key, or a whole section

    // The data folders opened last, newest first, as kept (at most `limit`).
    QStringList recentDataFolders(int limit) const;
    void setRecentDataFolders(const QStringList& folders);

    // Whether the sample history has been offered once, on a first start.
    bool sampleOffered() const;
    void setSampleOffered();

    void sync();

private:
    void store(const QString& key, const QString& text);
    bool flag(const QString& key) const;
    int number(const QString& key, int low, int high) const;

    std::unique_ptr<QSettings> settings_;
};

QString flagText(bool value);

}  // namespace qeltaro
