#include "io/web_address.h"

#include <QRegularExpression>

#include <array>
#include <utility>

namespace qeltaro {
namespace {

constexpr std::array<std::pair<const char*, const char*>, 3> kPlaceholders = {{
    {"{date}", "yyyy-MM-dd"},
    {"{ymd}", "yyyyMMdd"},
    {"{yymmdd}", "yyMMdd"},
}};

}  // namespace

bool hasDayPlaceholder(const QString& text)
{
    for (const auto& [placeholder, format] : kPlaceholders)
        if (text.contains(QLatin1String(placeholder)))
            return true;
    return false;
}

QString fillDayPlaceholders(QString text, const QDate& day)
{
    for (const auto& [placeholder, format] : kPlaceholders)
        text.replace(QLatin1String(placeholder), day.toString(QString::fromLatin1(format)));
    return text;
}

bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

QStringList addressLines(const QString& text)
{
    // Addresses hold no blanks: any run of them parts two.
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

}  // namespace qeltaro
