#include "settings/settings.h"

#include "common/message_text.h"
#include "io/web_address.h"

#include <QSettings>
#include <QUrl>

#include <algorithm>
#include <array>
#include <optional>

namespace qeltaro {
namespace {

const QString kSection = QStringLiteral("IniSetting");
const QString kRecentFoldersKey = QStringLiteral("IniSetting/RecentDataDirs");
const QString kSampleOfferedKey = QStringLiteral("IniSetting/SampleOffered");

constexpr std::array<int, kPeriodWindowChoices> kPeriodWindows = {0, 100, 200, 300, 500, 600, 800, 1000, 1500, 3000};

std::optional<bool> parseFlag(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 || t == QStringLiteral("1"))
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0 || t == QStringLiteral("0"))
        return false;
    return std::nullopt;
}

std::optional<int> parseWhole(const QString& text, int low, int high)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < low || n > high)
        return std::nullopt;
    return n;
}

bool isFlagKey(const QString& key)
{
    return key == QLatin1String("JSFF") || key == QLatin1String("LsXs") || key == QLatin1String("SyBq") ||
           key == QLatin1String("ZqlJq") || key == QLatin1String("AutoWatch") || key == QLatin1String("WatchSound");
}

bool isUrlKey(const QString& key)
{
    return key == QLatin1String("HistoryUrl") || key == QLatin1String("FormulaUrl");
}

struct NumberRange {
    const char* key;
    int low;
    int high;
};

// The watch's numbers: seconds or minutes, each with its bounds.
constexpr NumberRange kWatchNumbers[] = {
    {"WatchDelaySeconds", 0, 3600}, {"WatchRetrySeconds", 1, 3600}, {"WatchGiveUpMinutes", 1, 1440}, {"WatchPollSeconds", 1, 86400}};

const NumberRange* watchNumber(const QString& key)
{
    for (const NumberRange& range : kWatchNumbers) {
        if (key == QLatin1String(range.key))
            return &range;
    }
    return nullptr;
}

}  // namespace

int periodWindowOfIndex(int index)
{
    return index >= 0 && index < kPeriodWindowChoices ? kPeriodWindows[index] : kPeriodWindows[3];
}

QString periodWindowCaption(int index)
{
    const int window = periodWindowOfIndex(index);
    return window == 0 ? QStringLiteral("前所有期") : QStringLiteral("前%1期").arg(window);
}

std::optional<int> parseSearchDays(const QString& answer)
{
    return parseWhole(answer, 2, 10);
}

QString searchDaysRefusal()
{
    return QStringLiteral("为了保证时效性和提高计算效率，软件只能统计10天以内的数据，请输入2到10中的自然数。");
}

const std::vector<SettingDefinition>& settingDefinitions()
{
    static const std::vector<SettingDefinition> table = {
        {QStringLiteral("IniSerchDay"), QStringLiteral("3"), QStringLiteral("历史号码更新检索天数（2~10）")},
        {QStringLiteral("JSFF"), QStringLiteral("False"), QStringLiteral("计算方法：False=最优公式法，True=计算选中公式")},
        {QStringLiteral("LsXs"), QStringLiteral("False"), QStringLiteral("历史列表公式验算结果：False=显示在下期，True=显示在当期")},
        {QStringLiteral("SyBq"), QStringLiteral("True"), QStringLiteral("检索期数前溯不含当前期")},
        {QStringLiteral("ZqlJq"), QStringLiteral("True"), QStringLiteral("正确率使用期数加权算法")},
        {QStringLiteral("JSQS"), QStringLiteral("3"), QStringLiteral("检索期数：0=前所有期，1..9=前100/200/300/500/600/800/1000/1500/3000期")},
        {QStringLiteral("HistoryUrl"), QString(), QStringLiteral("历史号码网页地址（在线更新历史号码；自动更新开奖可写多个，一行一个）")},
        {QStringLiteral("FormulaUrl"), QString(), QStringLiteral("公式文件地址（在线更新公式）")},
        {QStringLiteral("AutoWatch"), QStringLiteral("False"), QStringLiteral("窗口启动时打开自动更新开奖")},
        {QStringLiteral("WatchSound"), QStringLiteral("False"), QStringLiteral("自动更新开奖到新号码时响铃")},
        {QStringLiteral("WatchDelaySeconds"), QStringLiteral("20"), QStringLiteral("自动更新开奖：开奖时间后等多少秒再读网页（0~3600）")},
        {QStringLiteral("WatchRetrySeconds"), QStringLiteral("10"), QStringLiteral("自动更新开奖：未读到时每隔多少秒再读（1~3600）")},
        {QStringLiteral("WatchGiveUpMinutes"), QStringLiteral("10"), QStringLiteral("自动更新开奖：开奖时间后多少分钟仍未读到就等下一期（1~1440）")},
        {QStringLiteral("WatchPollSeconds"), QStringLiteral("30"), QStringLiteral("自动更新开奖：没有开奖时间表时每隔多少秒读一次（1~86400）")},
    };
    return table;
}

Settings::Settings()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Qeltaro"), QStringLiteral("Qeltaro")))
{
}

Settings::Settings(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

Settings::~Settings() = default;

QString Settings::filePath() const
{
    return settings_->fileName();
}

QString Settings::value(const QString& key) const
{
    QString fallback;
    for (const auto& definition : settingDefinitions()) {
        if (definition.key == key)
            fallback = definition.defaultValue;
    }
    return settings_->value(kSection + u'/' + key, fallback).toString();
}

void Settings::store(const QString& key, const QString& text)
{
    settings_->setValue(kSection + u'/' + key, text);
    settings_->sync();
}

void Settings::sync()
{
    settings_->sync();
}

std::optional<QString> Settings::searchValue(const QString& path) const
{
    const QVariant stored = settings_->value(path);
    return stored.isValid() ? std::optional<QString>(stored.toString()) : std::nullopt;
}

void Settings::setSearchValue(const QString& path, const QString& text)
{
    settings_->setValue(path, text);
}

void Settings::removeSearchValue(const QString& path)
{
    settings_->remove(path);
}

QStringList Settings::recentDataFolders(int limit) const
{
    QStringList folders = settings_->value(kRecentFoldersKey).toStringList();
    folders.removeAll(QString());
    return folders.mid(0, limit);
}

void Settings::setRecentDataFolders(const QStringList& folders)
{
    settings_->setValue(kRecentFoldersKey, folders);
    settings_->sync();
}

bool Settings::sampleOffered() const
{
    return settings_->value(kSampleOfferedKey).toString() == flagText(true);
}

void Settings::setSampleOffered()
{
    settings_->setValue(kSampleOfferedKey, flagText(true));
    settings_->sync();
}

bool Settings::flag(const QString& key) const
{
    if (auto stored = parseFlag(value(key)))
        return *stored;
    for (const auto& definition : settingDefinitions()) {
        if (definition.key == key)
            return *parseFlag(definition.defaultValue);
    }
    return false;
}

int Settings::number(const QString& key, int low, int high) const
{
    if (auto stored = parseWhole(value(key), low, high))
        return *stored;
    for (const auto& definition : settingDefinitions()) {
        if (definition.key == key)
            return definition.defaultValue.toInt();
    }
    return low;
}

Status Settings::set(const QString& key, const QString& text)
{
    const auto& table = settingDefinitions();
    const bool known = std::any_of(table.begin(), table.end(), [&](const auto& d) { return d.key == key; });
    if (!known) {
        QStringList keys;
        for (const auto& d : table)
            keys << d.key;
        return badInput(QStringLiteral("没有设置项“%1”；可用的设置项：%2").arg(excerpt(key), keys.join(QStringLiteral(", "))));
    }
    if (isFlagKey(key)) {
        const auto value = parseFlag(text);
        if (!value)
            return badInput(QStringLiteral("%1 只能是 True 或 False，而不是“%2”").arg(key, excerpt(text)));
        store(key, flagText(*value));
    } else if (key == QLatin1String("IniSerchDay")) {
        const auto days = parseSearchDays(text);
        if (!days)
            return badInput(searchDaysRefusal());
        store(key, QString::number(*days));
    } else if (key == QLatin1String("JSQS")) {
        const auto index = parseWhole(text, 0, kPeriodWindowChoices - 1);
        if (!index)
            return badInput(QStringLiteral("JSQS 必须是0到9的整数（0=前所有期，3=前300期），而不是“%1”").arg(excerpt(text)));
        store(key, QString::number(*index));
    } else if (isUrlKey(key)) {
        const bool history = key == QLatin1String("HistoryUrl");
        // The history may have several addresses, a line each; the formulas one.
        const QStringList lines = history ? addressLines(text) : QStringList{text.trimmed()};
        for (const QString& line : lines) {
            // The history's address may name the page's day by placeholders; any day shows
            // whether the filled address is one.
            const QUrl url(history ? fillDayPlaceholders(line, QDate(2016, 1, 21)) : line, QUrl::StrictMode);
            if (!line.isEmpty() && !isWebAddress(url))
                return badInput(QStringLiteral("%1必须是 http:// 或 https:// 开头的网址，而不是“%2”")
                                    .arg(history ? QStringLiteral("开奖网址") : QStringLiteral("公式网址"), excerpt(line)));
        }
        store(key, lines.join(u'\n'));
    } else if (const NumberRange* range = watchNumber(key)) {
        const auto number = parseWhole(text, range->low, range->high);
        if (!number)
            return badInput(QStringLiteral("%1 必须是%2到%3的整数，而不是“%4”").arg(key).arg(range->low).arg(range->high).arg(excerpt(text)));
        store(key, QString::number(*number));
    }
    return success();
}

SettingsMirror Settings::read() const
{
    SettingsMirror m;
    m.searchDays = number(QStringLiteral("IniSerchDay"), 2, 10);
    m.calculateSelected = flag(QStringLiteral("JSFF"));
    m.showOnCurrentRow = flag(QStringLiteral("LsXs"));
    m.valueColumnName = m.showOnCurrentRow ? QStringLiteral("Canshu") : QStringLiteral("PreCanshu");
    m.windowExcludesCurrent = flag(QStringLiteral("SyBq"));
    m.weightedRate = flag(QStringLiteral("ZqlJq"));
    m.periodWindowIndex = number(QStringLiteral("JSQS"), 0, kPeriodWindowChoices - 1);
    m.periodWindow = periodWindowOfIndex(m.periodWindowIndex);
    return m;
}

void Settings::setShowOnCurrentRow(SettingsMirror& m, bool onCurrentRow)
{
    m.showOnCurrentRow = onCurrentRow;
    m.valueColumnName = onCurrentRow ? QStringLiteral("Canshu") : QStringLiteral("PreCanshu");
    store(QStringLiteral("LsXs"), flagText(onCurrentRow));
}

void Settings::toggleWindowExcludesCurrent(SettingsMirror& m)
{
    m.windowExcludesCurrent = !m.windowExcludesCurrent;
    store(QStringLiteral("SyBq"), flagText(m.windowExcludesCurrent));
}

void Settings::toggleWeightedRate(SettingsMirror& m)
{
    m.weightedRate = !m.weightedRate;
    store(QStringLiteral("ZqlJq"), flagText(m.weightedRate));
}

void Settings::setPeriodWindowIndex(SettingsMirror& m, int index)
{
    m.periodWindowIndex = index >= 0 && index < kPeriodWindowChoices ? index : 3;
    m.periodWindow = periodWindowOfIndex(m.periodWindowIndex);
    store(QStringLiteral("JSQS"), QString::number(m.periodWindowIndex));
}

void Settings::setCalculateSelected(SettingsMirror& m, bool selected)
{
    m.calculateSelected = selected;
    store(QStringLiteral("JSFF"), flagText(selected));
}

void Settings::setSearchDays(SettingsMirror& m, int days)
{
    m.searchDays = days;
    store(QStringLiteral("IniSerchDay"), QString::number(days));
}

void Settings::restoreDefaults(SettingsMirror& m)
{
    setShowOnCurrentRow(m, false);
    m.windowExcludesCurrent = true;
    store(QStringLiteral("SyBq"), flagText(true));
    m.weightedRate = true;
    store(QStringLiteral("ZqlJq"), flagText(true));
    store(QStringLiteral("IniSerchDay"), QStringLiteral("6"));
    setPeriodWindowIndex(m, 3);
}

QString flagText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

}  // namespace qeltaro
