#include "gui/common/online_address.h"

#include "gui/common/dialogs.h"
#include "io/web_address.h"
#include "library/formula_update.h"

namespace qeltaro::gui {
namespace {

struct SourceWords {
    QString key;
    QString title;
    QString prompt;
    QString missing;
};

SourceWords wordsOf(OnlineSource source)
{
    if (source == OnlineSource::History)
        return {QStringLiteral("HistoryUrl"), QStringLiteral("开奖网址设置"),
                QStringLiteral("开奖历史网页地址（http:// 或 https:// 开头），可写多个，用空格分开：\n"
                               "自动更新开奖按顺序尝试，在线更新用第一个。\n"
                               "只写网站地址时，在其后按固定格式拼出每天的网页；\n"
                               "地址中有 {date}（2016-01-21）、{ymd}（20160121）或 {yymmdd}（160121）时，\n"
                               "按天换成日期。"),
                QStringLiteral("还没有设置历史号码网页地址，无法在线更新历史号码")};
    return {QStringLiteral("FormulaUrl"), QStringLiteral("公式网址设置"),
            QStringLiteral("公式文件下载地址（http:// 或 https:// 开头）："), formulaUrlMissingMessage()};
}

}  // namespace

QString onlineAddressTitle(OnlineSource source)
{
    return wordsOf(source).title;
}

std::optional<QString> askOnlineAddress(QWidget* parent, Settings& settings, OnlineSource source)
{
    const SourceWords words = wordsOf(source);
    // Several addresses are kept a line each and shown apart by blanks.
    QString shown = addressLines(settings.value(words.key)).join(u' ');
    for (;;) {
        const auto answer = Dialogs::askText(parent, words.title, words.prompt, shown);
        if (!answer)
            return std::nullopt;
        shown = answer->trimmed();
        // The store takes an empty address as "none"; this box only ever sets one.
        const Status stored = shown.isEmpty()
                                  ? Status(badInput(QStringLiteral("请输入以 http:// 或 https:// 开头的网址")))
                                  : settings.set(words.key, shown);
        if (stored)
            return shown;
        Dialogs::warn(parent, QStringLiteral("输入有误"), stored.error().message);
    }
}

std::optional<QString> onlineAddressOrAsk(QWidget* parent, Settings& settings, OnlineSource source)
{
    const SourceWords words = wordsOf(source);
    const QString stored = settings.value(words.key).trimmed();
    if (!stored.isEmpty())
        return stored;
    if (!Dialogs::confirm(parent, words.title, words.missing + QStringLiteral("。现在设置网址吗？")))
        return std::nullopt;
    return askOnlineAddress(parent, settings, source);
}

}  // namespace qeltaro::gui
